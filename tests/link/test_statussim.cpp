// knitsim knitting, received by the panel's status channel on loopback. Faults caught: a
// simulation that does not start, reports rows without the controller's two-row offset, does
// not wrap to row 1 with one more piece, sends no needle or time reports, loops the wrong
// rows, sends an alarm with type and code swapped, or keeps knitting after stop.
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"

#include "data/cntrecord.h"
#include "data/parablocks.h"
#include "link/statuschannel.h"
#include "platform/atomicfile.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// rows program rows, the last one ending the program; row loopAt loops back to row 2 twice.
QByteArray program(int rows, int loopAt)
{
    QByteArray data(int(kCntRecordSize) * (rows + 1), '\0');
    for (int r = 1; r <= rows; ++r) {
        STRUCT_CNT row{};
        row.end_flag = r == rows ? 1 : 0;
        if (r == loopAt) {
            row.loop_count = 2;
            STRUCT_CNT::set16(row.back_line, 1);
        }
        std::memcpy(data.data() + r * int(kCntRecordSize), &row, sizeof row);
    }
    return data;
}

// Argument arg of each signal the spy caught.
QList<int> args(const QSignalSpy &spy, int arg)
{
    QList<int> out;
    for (const QList<QVariant> &s : spy)
        out << s.at(arg).toInt();
    return out;
}

} // namespace

class TestStatusSim : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        PortOffset::useFree();
        para_cur.clear();
        channel_ = new StatusChannel(this);
        channel_->setTraceStream(nullptr);
        QVERIFY(channel_->open());
        QVERIFY(dir_.isValid());
        sim_ = new SimProcess;
        sim_->setRoot(dir_.path());
        QString why;
        QVERIFY2(sim_->start(&why), qPrintable(why));
    }
    void cleanup()
    {
        delete sim_;
        delete channel_;
    }

    void knitsRowsAndPieces()
    {
        QVERIFY(AtomicFile::save(sim_->file(QStringLiteral("J.cnt")), program(4, 0)));
        QSignalSpy rows(channel_, &StatusChannel::rowReport);
        QSignalSpy started(channel_, &StatusChannel::machineStarted);
        QSignalSpy times(channel_, &StatusChannel::knittingTime);
        QVERIFY(sim_->command(QStringLiteral("set speed 50")));
        QVERIFY(sim_->command(QStringLiteral("start J")));
        QTRY_VERIFY_WITH_TIMEOUT(rows.count() >= 6, 3000);
        QCOMPARE(started.count(), 1);
        // Rows 1-4 of the program, as the controller counts them: 3-6, then row 1 again.
        QCOMPARE(args(rows, 0).mid(0, 6), QList<int>({3, 4, 5, 6, 3, 4}));
        QVERIFY(int(para_cur.word(7)) >= 1);
        QTRY_VERIFY_WITH_TIMEOUT(para_cur.word(6) != 0, 1000);
        QVERIFY(channel_->needleReports() > 0);
        QTRY_VERIFY_WITH_TIMEOUT(times.count() >= 1, 2500);

        QSignalSpy stopped(channel_, &StatusChannel::machineStopped);
        QVERIFY(sim_->command(QStringLiteral("stop")));
        QTRY_COMPARE(stopped.count(), 1);
        const int after = rows.count();
        QTest::qWait(200);
        QCOMPARE(rows.count(), after);
    }

    void loops()
    {
        QVERIFY(AtomicFile::save(sim_->file(QStringLiteral("L.cnt")), program(5, 3)));
        QSignalSpy rows(channel_, &StatusChannel::rowReport);
        QSignalSpy loopRows(channel_, &StatusChannel::loopRows);
        QSignalSpy loopCounts(channel_, &StatusChannel::loopCounts);
        QVERIFY(sim_->command(QStringLiteral("set speed 100")));
        QVERIFY(sim_->command(QStringLiteral("start")));
        QTRY_VERIFY_WITH_TIMEOUT(rows.count() >= 9, 3000);
        QCOMPARE(args(rows, 0).mid(0, 9), QList<int>({3, 4, 5, 4, 5, 4, 5, 6, 7})); // program rows + 2
        QCOMPARE(loopRows.at(0), QVariantList({2, 3}));
        QCOMPARE(args(loopCounts, 1).mid(0, 2), QList<int>({1, 0}));
    }

    void alarmsAndZeroing()
    {
        QSignalSpy raised(channel_, &StatusChannel::alarmRaised);
        QSignalSpy cleared(channel_, &StatusChannel::alarmCleared);
        QSignalSpy zeroed(channel_, &StatusChannel::zeroingFinished);
        QVERIFY(sim_->command(QStringLiteral("alarm 3 18")));
        QTRY_COMPARE(raised.count(), 1);
        QCOMPARE(args(raised, 0) + args(raised, 1), QList<int>({3, 18}));
        QVERIFY(sim_->command(QStringLiteral("alarm clear")));
        QTRY_COMPARE(cleared.count(), 1);
        QVERIFY(!sim_->command(QStringLiteral("alarm 3")));
        QVERIFY(!sim_->command(QStringLiteral("alarm 256 1")));
        QVERIFY(!sim_->command(QStringLiteral("start ../x")));
        QVERIFY(!sim_->command(QStringLiteral("set speed 0")));
        QVERIFY(sim_->command(QStringLiteral("zero")));
        QTRY_COMPARE(zeroed.count(), 1);
        QCOMPARE(int(para_cur.byte(0)), 1);
    }

private:
    QTemporaryDir dir_;
    StatusChannel *channel_ = nullptr;
    SimProcess *sim_ = nullptr;
};

QTEST_GUILESS_MAIN(TestStatusSim)
#include "test_statussim.moc"
