// knitsim against the panel's status channel, for the faults of the stand-in that would let
// the start-up, main-screen and end-to-end tests pass wrongly: a knitting simulation that
// reports rows without the controller's two-row offset, does not wrap to row 1 with one more
// piece, sends no needle or time reports or keeps knitting after stop; an alarm sent with type
// and code swapped; a control error answered "ok". (Its datagram answers, motor status and
// faults are met by every start-up and shut-down test.)
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"

#include "data/cntrecord.h"
#include "data/parablocks.h"
#include "link/statuschannel.h"
#include "platform/atomicfile.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Argument arg of each signal the spy caught.
QList<int> args(const QSignalSpy &spy, int arg)
{
    QList<int> out;
    for (const QList<QVariant> &s : spy)
        out << s.at(arg).toInt();
    return out;
}

} // namespace

class TestKnitsim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        PortOffset::useFree();
        qputenv("KNIT_CONTROLLER_HOST", "127.0.0.1");
        channel_.setTraceStream(nullptr);
        QVERIFY(channel_.open());
        QString why;
        QVERIFY2(sim_.start(&why), qPrintable(why));
    }

    // Four rows, the last one ending the program: rows 3-6 as the controller counts them, then
    // row 1 again with one more piece.
    void knitsRowsAndPieces()
    {
        QByteArray program(int(kCntRecordSize) * 5, '\0');
        program[4 * int(kCntRecordSize) + 116] = 1; // end flag
        QVERIFY(AtomicFile::save(sim_.file(QStringLiteral("J.cnt")), program));
        QSignalSpy rows(&channel_, &StatusChannel::rowReport);
        QSignalSpy times(&channel_, &StatusChannel::knittingTime);
        QVERIFY(sim_.command(QStringLiteral("set speed 50")));
        QVERIFY(sim_.command(QStringLiteral("start J")));
        QTRY_VERIFY_WITH_TIMEOUT(rows.count() >= 6, 3000);
        QCOMPARE(args(rows, 0).mid(0, 6), QList<int>({3, 4, 5, 6, 3, 4}));
        QVERIFY(int(para_cur.word(7)) >= 1);
        QTRY_VERIFY_WITH_TIMEOUT(channel_.needleReports() > 0 && para_cur.word(6) != 0, 1000);
        QTRY_VERIFY_WITH_TIMEOUT(times.count() >= 1, 2500);

        QSignalSpy stopped(&channel_, &StatusChannel::machineStopped);
        QVERIFY(sim_.command(QStringLiteral("stop")));
        QTRY_COMPARE(stopped.count(), 1);
        const int after = rows.count();
        QTest::qWait(200);
        QCOMPARE(rows.count(), after);
    }

    void alarmTypeThenCode()
    {
        QSignalSpy raised(&channel_, &StatusChannel::alarmRaised);
        QVERIFY(sim_.command(QStringLiteral("alarm 3 18")));
        QTRY_COMPARE(raised.count(), 1);
        QCOMPARE(args(raised, 0) + args(raised, 1), QList<int>({3, 18}));
        QCOMPARE(sim_.send(QStringLiteral("bogus 1")).value(0), QStringLiteral("error unknown command bogus"));
    }

private:
    TestRoot root_;
    StatusChannel channel_;
    SimProcess sim_;
};

QTEST_GUILESS_MAIN(TestKnitsim)
#include "test_knitsim.moc"
