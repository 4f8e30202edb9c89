// Wall time from starting knitpanel to its closing status query, against knitsim with a job of
// about 1 MiB (three uploads), the start-up beep off (KNIT_BUZZER=off); median of 5. Then the
// idle CPU and resident memory of the main screen. Prints; never fails.
#include "portoffset.h"
#include "residentsize.h"
#include "simprocess.h"
#include "testroot.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 5;

// Time of day of the first journal line of the closing status query (command 0x26), or -1.
qint64 statusQueryMs(SimProcess &sim)
{
    for (const QString &line : sim.send(QStringLiteral("journal"))) {
        const QStringList p = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (p.size() > 2 && p.at(1) == QLatin1String("cmd") && p.at(2) == QLatin1String("26"))
            return QTime::fromString(p.at(0), QStringLiteral("hh:mm:ss.zzz")).msecsSinceStartOfDay();
    }
    return -1;
}

// utime + stime of a process in clock ticks, and its resident set in KiB.
bool sample(qint64 pid, double *cpuSeconds, long *rssKb)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray s = stat.readAll();
    const QList<QByteArray> f = s.mid(s.lastIndexOf(')') + 2).split(' ');
    if (f.size() < 13)
        return false;
    *cpuSeconds = double(f.at(11).toLongLong() + f.at(12).toLongLong()) / double(::sysconf(_SC_CLK_TCK));
    *rssKb = residentKiBOf(pid);
    return *rssKb >= 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TestRoot root;
    const int offset = PortOffset::useFree();
    root.makeJob(QStringLiteral("BIG"), 7000, 1000, 250);

    std::vector<double> times;
    double idleCpu = -1;
    long rss = -1;
    for (int run = 0; run < kRuns; ++run) {
        SimProcess sim;
        QString why;
        if (!sim.start(&why)) {
            std::printf("knitsim: %s\n", qPrintable(why));
            return 0;
        }
        root.writeReferences(sim.file(QStringLiteral("file.sys")), sim.file(QStringLiteral("config.cfg")));
        sim.command(QStringLiteral("set job BIG"));

        QProcess panel;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KNIT_BUZZER"), QStringLiteral("off"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("KNIT_PORT_OFFSET"), QString::number(offset));
        panel.setProcessEnvironment(env);
        panel.setStandardOutputFile(QProcess::nullDevice());
        const qint64 startedAt = QTime::currentTime().msecsSinceStartOfDay();
        panel.start(QStringLiteral(KNITPANEL_PATH), {});
        panel.waitForStarted(5000);
        qint64 at = -1;
        QElapsedTimer t;
        t.start();
        while (at < 0 && t.elapsed() < 20000) {
            QThread::msleep(20);
            at = statusQueryMs(sim);
        }
        if (at >= 0)
            times.push_back(double(at - startedAt));
        else
            std::printf("run %d: no status query within 20 s\n", run + 1);
        if (run == kRuns - 1) {
            QThread::msleep(1000); // let the screen settle
            double c0 = 0, c1 = 0;
            long r = 0;
            if (sample(panel.processId(), &c0, &r)) {
                QThread::msleep(5000);
                sample(panel.processId(), &c1, &rss);
                idleCpu = (c1 - c0) / 5.0 * 100.0;
            }
        }
        panel.kill();
        panel.waitForFinished(3000);
    }
    std::sort(times.begin(), times.end());
    const double median = times.empty() ? -1 : times[times.size() / 2];
    std::printf("start-up to status query, 1 MiB job, median of %zu: %.0f ms (goal < 400 ms, ratio %.2f)\n",
                times.size(), median, median / 400.0);
    std::printf("idle main screen: %.2f %% of a core (goal < 0.5 %%), resident %ld KiB = %.1f MiB (goal <= 40 MiB)\n",
                idleCpu, rss, rss / 1024.0);
    return 0;
}
