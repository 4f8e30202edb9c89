// The event-loop stall watch. Faults caught: a percentile or maximum off by the histogram's
// step or counting mandated waits as stalls, waits that overlap counted twice, the longest
// gaps kept out of order; a live watch that misses a blocked loop, takes a sleep marked as
// mandated for a stall, or leaves no figures in its file.
#include "platform/sleeper.h"
#include "platform/stallreport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Gaps = QList<QPair<qint64, qint64>>; // interval, waited
Q_DECLARE_METATYPE(Gaps)

namespace {

void blockFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
    }
}

} // namespace

class TestStallReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recorder_data()
    {
        QTest::addColumn<Gaps>("gaps");
        QTest::addColumn<qint64>("max");
        QTest::addColumn<qint64>("p99");
        QTest::addColumn<QString>("head");
        Gaps even;
        for (int i = 0; i < 100; ++i)
            even.append({20 + (i == 99 ? 80 : 0), 0});
        QTest::addRow("one in a hundred long") << even << qint64(100) << qint64(20) << QStringLiteral("gap 100 ");
        even.append({300, 0});
        QTest::addRow("two in 101 long") << even << qint64(300) << qint64(100) << QStringLiteral("gap 300 ");
        QTest::addRow("wait subtracted") << Gaps{{520, 500}, {25, 0}} << qint64(25) << qint64(25) << QStringLiteral("gap 25 ");
        QTest::addRow("wait longer than interval") << Gaps{{20, 90}} << qint64(0) << qint64(0) << QStringLiteral("gap 0 ");
        QTest::addRow("past the histogram") << Gaps{{90000, 0}} << qint64(90000) << qint64(StallRecorder::kHistogramMs)
                                            << QStringLiteral("gap 90000 ");
    }
    void recorder()
    {
        QFETCH(Gaps, gaps);
        QFETCH(qint64, max);
        QFETCH(qint64, p99);
        QFETCH(QString, head);
        StallRecorder r;
        for (const auto &g : gaps)
            r.add(g.first, g.second);
        QCOMPARE(r.ticks(), qint64(gaps.size()));
        QCOMPARE(r.maxMs(), max);
        QCOMPARE(r.percentileMs(99), p99);
        const QStringList lines = r.text().split(QLatin1Char('\n'));
        QVERIFY2(lines.value(4).startsWith(head), qPrintable(r.text()));
        QVERIFY(lines.filter(QStringLiteral("gap ")).size() <= StallRecorder::kKeptLongest);
    }

    // The watch on this thread's loop: a blocked loop is a stall, a marked sleep (nested in a
    // second mark) is not.
    void live()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("stalls"));
        auto *report = new StallReport(path, this);
        QTRY_VERIFY_WITH_TIMEOUT(report->recorder().ticks() >= 3, 5000);
        {
            const StallReport::Wait outer;
            Sleeper::sleepMs(800);
        }
        QTRY_VERIFY_WITH_TIMEOUT(report->recorder().ticks() >= 5, 5000);
        QVERIFY2(report->recorder().maxMs() < 400, qPrintable(report->recorder().text()));
        QVERIFY(report->recorder().waitedMs() >= 800);
        blockFor(450);
        QTRY_VERIFY_WITH_TIMEOUT(report->recorder().maxMs() >= 450, 5000);
        delete report;
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        const QStringList max = text.split(QLatin1Char('\n')).filter(QStringLiteral("max "));
        QVERIFY2(max.size() == 1 && max.first().mid(4).toLongLong() >= 450, qPrintable(text));
        QVERIFY(!StallReport::armed());
    }
};

QTEST_GUILESS_MAIN(TestStallReport)
#include "test_stallreport.moc"
