// The event-loop stall watch. Faults caught: a percentile or maximum off by the histogram's
// step or counting mandated waits as stalls, waits that overlap counted twice, the longest
// gaps kept out of order or without their CPU and queued time (which never add up past the
// gap); a live watch that misses a blocked loop or where it was blocked, takes a sleep marked as mandated for a
// stall, counts a sleep as the thread's CPU time or misses its busy work, or leaves no
// figures in its file.
#include "platform/sleeper.h"
#include "platform/stallreport.h"
#include "testtable.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTest>

#include <array>

#include <time.h>
#include <unistd.h>

using Gaps = QList<std::array<qint64, 4>>; // interval, waited, CPU time, queued
Q_DECLARE_METATYPE(Gaps)

namespace {

qint64 threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// Busy until this thread ran ms, however loaded the machine: a stall of the thread's own work.
void blockFor(int ms)
{
    const qint64 until = threadCpuMs() + ms;
    while (threadCpuMs() < until) {
    }
}

} // namespace

class TestStallReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recorder_data()
    {
        TestTable::columns<Gaps, qint64, qint64, qint64, QString>("gaps", "max", "p99", "own", "head");
        Gaps even;
        for (int i = 0; i < 100; ++i)
            even.append({20 + (i == 99 ? 80 : 0), 0, 1, 0});
        QTest::addRow("one in a hundred long") << even << qint64(100) << qint64(20) << qint64(100) << QStringLiteral("gap 100 cpu 1 queued 0 ");
        even.append({300, 0, 40, 200});
        QTest::addRow("two in 101 long, mostly not run") << even << qint64(300) << qint64(100) << qint64(100) << QStringLiteral("gap 300 cpu 40 queued 200 ");
        QTest::addRow("wait subtracted") << Gaps{{520, 500, 30, 0}, {25, 0, 25, 9}} << qint64(25) << qint64(25) << qint64(25) << QStringLiteral("gap 25 cpu 25 queued 0 ");
        QTest::addRow("wait longer than interval") << Gaps{{20, 90, 5, 5}} << qint64(0) << qint64(0) << qint64(0) << QStringLiteral("gap 0 cpu 0 queued 0 ");
        QTest::addRow("past the histogram") << Gaps{{90000, 0, 0, 0}} << qint64(90000) << qint64(StallRecorder::kHistogramMs) << qint64(90000)
                                            << QStringLiteral("gap 90000 cpu 0 queued 0 ");
    }
    void recorder()
    {
        auto [gaps, max, p99, own, head] = TestTable::fetch<Gaps, qint64, qint64, qint64, QString>("gaps", "max", "p99", "own", "head");
        StallRecorder r;
        for (const auto &g : gaps)
            r.add(g[0], g[1], g[2], g[3]);
        QCOMPARE(r.ticks(), qint64(gaps.size()));
        QCOMPARE(r.maxMs(), max);
        QCOMPARE(r.percentileMs(99), p99);
        const QStringList lines = r.text().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(5), QStringLiteral("own %1").arg(own));
        QVERIFY2(lines.value(6).startsWith(head), qPrintable(r.text()));
        QCOMPARE(lines.value(4), QStringLiteral("busy ") + head.section(QLatin1Char(' '), 3, 3));
        QVERIFY(lines.filter(QStringLiteral("gap ")).size() <= StallRecorder::kKeptLongest);
    }

    // The watch on this thread's loop: a blocked loop is a stall, a marked sleep (nested in a
    // second mark) is not; an unmarked sleep is a stall the thread spent no CPU time in.
    void live()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("stalls"));
        auto *report = new StallReport(path, qApp); // armed: the application's
        QTRY_VERIFY_WITH_TIMEOUT(report->recorder().ticks() >= 3, 5000);
        // Counted from here: the wait above may have seen more than three ticks.
        const qint64 before = report->recorder().ticks();
        {
            const StallReport::Wait outer;
            Sleeper::sleepMs(800);
        }
        QTRY_VERIFY_WITH_TIMEOUT(report->recorder().ticks() >= before + 2, 5000);
        QVERIFY2(report->recorder().ownMaxMs() < 400, qPrintable(report->recorder().text()));
        QVERIFY(report->recorder().waitedMs() >= 800);
        QThread::msleep(450); // the stall under test, not a wait for something
        QTRY_VERIFY_WITH_TIMEOUT(report->recorder().maxMs() >= 450, 5000);
        // Where the kernel names where a thread sleeps (this test's parent waits for it), the gap
        // names the sleep.
        QFile parent(QStringLiteral("/proc/%1/wchan").arg(getppid()));
        if (parent.open(QIODevice::ReadOnly) && parent.readAll() != "0")
            QVERIFY2(report->recorder().text().section(QLatin1String("\ngap "), 1, 1).section(QLatin1Char('\n'), 0, 0).contains(QLatin1String("nanosleep")),
                     qPrintable(report->recorder().text()));
        QVERIFY2(report->recorder().busyMaxMs() < 200, qPrintable(report->recorder().text()));
        blockFor(450);
        QTRY_VERIFY2_WITH_TIMEOUT(report->recorder().busyMaxMs() >= 440, qPrintable(report->recorder().text()), 5000);
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
