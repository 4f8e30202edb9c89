// knitsim against the panel's status channel, for the faults of the stand-in that would let
// the start-up, main-screen and end-to-end tests pass wrongly: a knitting simulation that
// reports rows without the controller's two-row offset, does not wrap to row 1 with one more
// piece, sends no needle or time reports or keeps knitting after stop; an alarm sent with type
// and code swapped; a control error answered "ok"; skip, stop-at-row and row-lock actions the
// carriage ignores, a reply override that does not answer or does not clear. (Its datagram
// answers, motor status and faults are met by every start-up and shut-down test.)
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"

#include "data/cntrecord.h"
#include "data/parablocks.h"
#include "link/commands.h"
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

// rows records and the end flag on the last, after record 0.
QByteArray program(int rows)
{
    QByteArray data(int(kCntRecordSize) * (rows + 1), '\0');
    data[rows * int(kCntRecordSize) + 116] = 1;
    return data;
}

} // namespace

class TestKnitsim : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        QVERIFY(AtomicFile::save(sim_.file(QStringLiteral("J.cnt")), program(4)));
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

    void carriageActions_data()
    {
        QTest::addColumn<QList<int>>("actions"); // code, argument, ... sent before start
        QTest::addColumn<QList<int>>("rows");    // the first row reports: program row + 2
        QTest::addColumn<int>("stops");
        QTest::addRow("%s", "skip to row 4") << QList<int>{8, 4} << QList<int>{6, 7, 8} << 0;
        QTest::addRow("%s", "stop after row 2") << QList<int>{8, 1, 9, 2} << QList<int>{3, 4} << 1;
        QTest::addRow("%s", "row lock") << QList<int>{8, 1, 2, 1} << QList<int>{3, 3, 3} << 0;
    }
    void carriageActions()
    {
        QFETCH(QList<int>, actions);
        QFETCH(QList<int>, rows);
        QFETCH(int, stops);
        QVERIFY(sim_.command(QStringLiteral("stop")) && sim_.command(QStringLiteral("set action.2 0")));
        QVERIFY(AtomicFile::save(sim_.file(QStringLiteral("A.cnt")), program(6)));
        for (int i = 0; i + 1 < actions.size(); i += 2)
            QCOMPARE(int(setparacom(0x2A, 1, quint16(actions[i]), quint16(actions[i + 1]))), 1);
        QTest::qWait(50); // the last run's reports still on their way are not this run's
        QSignalSpy reported(&channel_, &StatusChannel::rowReport);
        QSignalSpy stopped(&channel_, &StatusChannel::machineStopped);
        QVERIFY(sim_.command(QStringLiteral("set speed 100")) && sim_.command(QStringLiteral("start A")));
        // Row reports precede the stopped report on loopback, so a stop a row late shows as one row too many.
        QTRY_VERIFY_WITH_TIMEOUT(reported.count() >= rows.size() && stopped.count() == stops, 3000);
        QCOMPARE(args(reported, 0).mid(0, stops ? -1 : rows.size()), rows);
    }

    // A test makes the controller answer an action with its own value, until it clears it.
    void replyOverride()
    {
        unsigned short value = 3;
        QVERIFY(sim_.command(QStringLiteral("set reply action.4 7")));
        QCOMPARE(int(getpara(0x2A, 1, 4, &value)), 1);
        QCOMPARE(int(value), 7);
        QVERIFY(sim_.command(QStringLiteral("set reply action.4")));
        value = 3;
        QCOMPARE(int(getpara(0x2A, 1, 4, &value)), 1);
        QCOMPARE(int(value), 3);
    }

private:
    TestRoot root_;
    StatusChannel channel_;
    SimProcess sim_;
};

QTEST_GUILESS_MAIN(TestKnitsim)
#include "test_knitsim.moc"
