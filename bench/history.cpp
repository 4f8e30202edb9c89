// The machine's history: GUI-thread time to log one alarm event while 1,000 a second arrive,
// opening the history page with both logs and their predecessors at the 1 MiB bound, and the
// CSV of both logs. Median of several runs; prints; never fails.
#include "testroot.h"

#include "data/historylog.h"
#include "history/historypage.h"
#include "logic/history/machinehistory.h"
#include "platform/atomicfile.h"
#include "platform/logwriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

// A log of about bytes, alarm or production lines over the last week.
QByteArray fill(bool alarms, qint64 bytes)
{
    QByteArray out;
    const QDateTime start = QDateTime::currentDateTime().addDays(-7);
    for (int i = 0; out.size() < bytes; ++i) {
        const QDateTime t = start.addSecs(i * 30);
        if (alarms)
            out += HistoryLog::alarmLine(t, i % 3 == 2 ? QStringLiteral("cleared") : QStringLiteral("raised"), i % 7,
                                         i % 40, QStringLiteral("机头F5保险丝报警 ! "), QStringLiteral("JOB1"),
                                         QStringLiteral("0123"), i / 50);
        else
            out += i % 10 ? HistoryLog::pieceLine(t, QStringLiteral("JOB1"), i, 500)
                          : HistoryLog::runLine(t, i % 20 == 0, QStringLiteral("JOB1"));
        out += '\n';
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestRoot root;

    // 1,000 events a second for two seconds, alternating alarms so none is a repeat.
    std::vector<double> perEvent;
    {
        MachineHistory history;
        const MachineHistory::Screen screen{QStringLiteral("JOB1"), QStringLiteral("0123"), 4, 9};
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 2000; ++i) {
            while (clock.nsecsElapsed() < qint64(i) * 1000000)
                QThread::usleep(100);
            QElapsedTimer t;
            t.start();
            history.alarmRaised(2, i % 2 ? 23 : 24, QStringLiteral("撞针报警 ! "), screen);
            perEvent.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        history.flush();
    }
    std::printf("logging one alarm event at 1000 /s: median %.4f ms on the GUI thread (goal < 0.2 ms, ratio %.3f)\n",
                median(perEvent), median(perEvent) / 0.2);

    const qint64 bound = LogWriter::kDefaultBound;
    for (const QString &path : {MachineHistory::alarmLogPath(), MachineHistory::productionLogPath()}) {
        const bool alarms = path == MachineHistory::alarmLogPath();
        AtomicFile::save(path, fill(alarms, bound));
        AtomicFile::save(LogWriter::rotatedPath(path), fill(alarms, bound));
    }
    std::vector<double> open, csv;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer t;
        t.start();
        HistoryPage page;
        page.show();
        QCoreApplication::processEvents();
        page.grab();
        open.push_back(double(t.nsecsElapsed()) / 1e6);
        t.restart();
        qint64 bytes = 0;
        for (const QString &path : {MachineHistory::alarmLogPath(), MachineHistory::productionLogPath()}) {
            const HistoryLog::Read r = HistoryLog::readLog(path);
            const bool alarms = path == MachineHistory::alarmLogPath();
            bytes += HistoryLog::csv(alarms ? HistoryLog::alarmHeader() : HistoryLog::productionHeader(), r.entries).size();
        }
        csv.push_back(double(t.nsecsElapsed()) / 1e6);
        if (run == 0)
            std::printf("(both logs and their predecessors at 1 MiB each; CSV %lld bytes)\n", static_cast<long long>(bytes));
    }
    std::printf("history page opened and drawn: median %.1f ms (goal < 100 ms, ratio %.2f)\n", median(open), median(open) / 100.0);
    std::printf("CSV of both logs: median %.1f ms (goal < 200 ms, ratio %.2f)\n", median(csv), median(csv) / 200.0);
    return 0;
}
