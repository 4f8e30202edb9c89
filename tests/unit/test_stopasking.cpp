// When the panel asks for the reason of a stop. Faults caught: the list asked for before the
// machine stood ask_after_s, or not at once when it stood longer; asked again in the same stop
// after Escape or a pick (a stop told twice goes on, it does not begin again); a new stop after
// knitting not asked; asked with ask_after_s 0; a pick taken with no stop standing, or of a
// code not on the list, or kept after knitting.
#include "testtable.h"

#include "logic/mainwin/stopasking.h"

#include <QTest>

class TestStopAsking : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void asking_data()
    {
        // steps: sT the machine stands from T ms; k it knits; e the list left with Escape; pC
        // code C picked; ?T askIn at T
        // told: per ?, the ms until asked or - (not to be); per p, + taken or - not; per k, + a
        // pick stood or - none
        TestTable::columns<QString, int, QString>("steps", "askAfterS", "told");
        QTest::addRow("after standing") << "s1000 ?1000 ?5000 ?11000 ?30000" << 10 << "10000 6000 0 0";
        QTest::addRow("not again after Escape") << "s0 ?10000 e ?20000 s25000 ?40000" << 10 << "0 - -";
        QTest::addRow("not again after a pick") << "s0 p7 ?20000" << 10 << "+ -";
        QTest::addRow("knitting ends the stop") << "s0 e k ?0 s5000 ?6000" << 10 << "- - 9000";
        QTest::addRow("never with 0") << "s0 ?60000" << 0 << "-";
        QTest::addRow("picks") << "p7 s0 p3 p7 k p7 k" << 10 << "- - + + - -";
    }
    void asking()
    {
        auto [steps, askAfterS, told] = TestTable::fetch<QString, int, QString>("steps", "askAfterS", "told");
        ReasonList list;
        QVERIFY(ReasonList::parse("{\"reasons\":[{\"code\":7,\"zh\":\"休息\",\"en\":\"Break\"}]}", &list, nullptr));
        StopAsking stop;
        StopAsking::Pick pick;
        QStringList got;
        for (const QString &step : steps.split(QLatin1Char(' '))) {
            const int n = step.mid(1).toInt();
            const std::optional<qint64> in = stop.askIn(n, askAfterS);
            switch (step.at(0).toLatin1()) {
            case 's': stop.stopped(QDateTime::fromMSecsSinceEpoch(n), n); break;
            case 'k': got << (stop.given() ? "+" : "-"); stop.knitting(); break;
            case 'e': stop.asked(); break;
            case 'p': got << (stop.pick(n, list, &pick) && pick.reason.code == n ? "+" : "-"); break;
            default: got << (in ? QString::number(*in) : QStringLiteral("-"));
            }
        }
        QCOMPARE(got.join(QLatin1Char(' ')), told);
    }
};

QTEST_GUILESS_MAIN(TestStopAsking)
#include "test_stopasking.moc"
