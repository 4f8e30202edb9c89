// The live main screen under the controller's reports: row reports handled per second with none
// lost (as fast as the panel takes them, and at a steady 20,000 per second), how far the needle
// field lags the last needle report, and the idle CPU and resident memory of a knitpanel
// process showing the main screen. Medians of several runs; prints; never fails.
#include "mainscreeninternals.h"
#include "modaldriver.h"
#include "ownprogram.h"
#include "portoffset.h"
#include "residentsize.h"
#include "simprocess.h"
#include "testroot.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "link/statuschannel.h"
#include "mainwin/mainscreen.h"
#include "platform/atomicfile.h"
#include "platform/panelenv.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kCapacityRuns = 5;
constexpr int kCapacityReports = 40000;
constexpr int kWindow = 512; // reports in flight; well inside the panel's receive buffer
constexpr int kSteadyRuns = 3;
constexpr int kSteadyRate = 20000;
constexpr int kSteadyMs = 2000;
constexpr int kNeedleTrials = 25;
constexpr int kIdleWindows = 3;
constexpr int kIdleWindowS = 5;

qint64 nowNs()
{
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

void sleepNs(qint64 ns)
{
    const timespec t{time_t(ns / 1000000000), long(ns % 1000000000)};
    ::nanosleep(&t, nullptr);
}

void sleepUntilNs(qint64 at)
{
    const timespec t{time_t(at / 1000000000), long(at % 1000000000)};
    ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

QByteArray machine(int code, unsigned short a, unsigned short b)
{
    const char r[12] = {0, 0, 0, 0, 0, char(code), char(a & 0xff), char(a >> 8), char(b & 0xff), char(b >> 8), 0, 0};
    return QByteArray(r, 12);
}

// The row word of report i: rows of the loaded program, no message flag.
unsigned short rowWord(int i)
{
    return static_cast<unsigned short>(3 + i % 7000);
}

// Runs the event loop for ms, or until done() holds (checked every millisecond).
void runFor(int ms, const std::function<bool()> &done = {})
{
    QEventLoop loop;
    QTimer check;
    check.setTimerType(Qt::PreciseTimer);
    if (done) {
        QObject::connect(&check, &QTimer::timeout, &loop, [&] {
            if (done())
                loop.quit();
        });
        check.start(1);
    }
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A UDP socket on the controller's loopback address, sending to one of the panel's ports.
class ControllerSocket
{
public:
    explicit ControllerSocket(quint16 basePort)
    {
        fd_ = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in from{};
        from.sin_family = AF_INET;
        from.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr *>(&from), sizeof from) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
        to_.sin_family = AF_INET;
        to_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to_.sin_port = htons(PanelEnv::port(basePort));
    }
    ~ControllerSocket()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool ok() const { return fd_ >= 0; }
    bool send(const QByteArray &bytes) const
    {
        return ::sendto(fd_, bytes.constData(), size_t(bytes.size()), 0, reinterpret_cast<const sockaddr *>(&to_), sizeof to_) ==
               bytes.size();
    }

private:
    int fd_ = -1;
    sockaddr_in to_{};
};

struct FloodResult
{
    double perSecond = -1;
    quint64 lost = 0;
    bool lastShown = false;
    double backlogMs = -1; // steady runs: from the last send to the last report handled
};

// Row reports 1..n from a second thread while this thread runs the panel. Capacity runs keep
// at most kWindow reports in flight and send as fast as the panel takes them; steady runs send
// kSteadyRate per second, a batch each millisecond, whatever the panel does.
FloodResult flood(MainScreen &w, int n, bool steady)
{
    StatusChannel *channel = MainScreenInternals::statusChannel(w);
    QLabel *pieces = w.findChild<QLabel *>(QStringLiteral("pieces"));
    const quint64 before = channel->statusReports();
    const quint64 target = before + quint64(n);
    std::atomic<quint64> handled{before};
    std::atomic<qint64> lastSentNs{0};
    qint64 doneNs = 0;
    QMetaObject::Connection c = QObject::connect(channel, &StatusChannel::drained, channel, [&] {
        handled.store(channel->statusReports());
        if (doneNs == 0 && channel->statusReports() >= target)
            doneNs = nowNs();
    });
    const qint64 startNs = nowNs();
    std::thread sender([&] {
        ControllerSocket socket(Protocol::StatusPort);
        const int perMs = kSteadyRate / 1000;
        qint64 slot = nowNs();
        for (int i = 1; i <= n; ++i) {
            if (steady && i % perMs == 1) {
                slot += 1000000;
                sleepUntilNs(slot);
            }
            // A window that never opens means reports were lost; the rest are sent anyway.
            const qint64 giveUp = nowNs() + 1000000000;
            while (!steady && before + quint64(i) - handled.load() > kWindow && nowNs() < giveUp)
                sleepNs(20000);
            socket.send(machine(20, static_cast<unsigned short>(i), rowWord(i)));
        }
        lastSentNs.store(nowNs());
    });
    runFor(60000, [&] {
        const qint64 last = lastSentNs.load();
        return last != 0 && (doneNs != 0 || nowNs() - last > 1000000000);
    });
    sender.join();
    QObject::disconnect(c);

    FloodResult r;
    const quint64 got = channel->statusReports() - before;
    r.lost = quint64(n) - std::min(got, quint64(n));
    if (doneNs != 0)
        r.perSecond = double(n) / (double(doneNs - startNs) / 1e9);
    if (steady && doneNs != 0)
        r.backlogMs = double(doneNs - lastSentNs.load()) / 1e6;
    const auto &state = w.machineData().controllerState();
    r.lastShown = state.word(7) == static_cast<unsigned short>(n) && state.word(3) == rowWord(n) && pieces &&
                  pieces->text().startsWith(QStringLiteral("完成件数 : %1 / ").arg(n));
    return r;
}

// Milliseconds from the last of a stream of needle reports until the needle field shows it.
std::vector<double> needleLag(MainScreen &w)
{
    QLabel *needle = MainScreenInternals::needleLabel(w);
    std::atomic<int> expected{-1};
    std::atomic<qint64> sentNs{0};
    std::atomic<bool> finished{false};
    std::vector<double> lags;
    QTimer check;
    check.setTimerType(Qt::PreciseTimer);
    QObject::connect(&check, &QTimer::timeout, needle, [&] {
        const int want = expected.load(std::memory_order_acquire);
        if (want >= 0 && needle->text() == QString::number(want)) {
            lags.push_back(double(nowNs() - sentNs.load()) / 1e6);
            expected.store(-1, std::memory_order_release);
        }
    });
    check.start(1);
    std::thread sender([&] {
        ControllerSocket socket(Protocol::NeedlePort);
        for (int trial = 0; trial < kNeedleTrials; ++trial) {
            // 2,000 reports a second for a while, positions the final one never takes.
            const qint64 until = nowNs() + qint64(120 + (trial * 37) % 90) * 1000000;
            for (int k = 0; nowNs() < until; ++k) {
                socket.send(machine(0, static_cast<unsigned short>(k), static_cast<unsigned short>(500 + k % 900)));
                sleepNs(500000);
            }
            sentNs.store(nowNs());
            expected.store(1000 + trial, std::memory_order_release);
            socket.send(machine(0, 0, static_cast<unsigned short>(1500 + trial)));
            const qint64 giveUp = nowNs() + 1000000000;
            while (expected.load(std::memory_order_acquire) >= 0 && nowNs() < giveUp)
                sleepNs(1000000);
            expected.store(-1);
            sleepNs(qint64((trial * 13) % 50) * 1000000);
        }
        finished.store(true);
    });
    runFor(60000, [&] { return finished.load(); });
    sender.join();
    return lags;
}

// CPU time of a process in seconds, summed over its threads from schedstat (nanoseconds; the
// clock ticks of /proc/PID/stat are too coarse for a share below 0.5 %), and its resident set
// in KiB.
bool sampleProcess(qint64 pid, double *cpuSeconds, long *rssKb)
{
    const QString base = QStringLiteral("/proc/%1").arg(pid);
    const QStringList tasks = QDir(base + QStringLiteral("/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (tasks.isEmpty())
        return false;
    qint64 ns = 0;
    for (const QString &task : tasks) {
        QFile sched(base + QStringLiteral("/task/") + task + QStringLiteral("/schedstat"));
        if (sched.open(QIODevice::ReadOnly))
            ns += sched.readAll().split(' ').first().toLongLong();
    }
    *cpuSeconds = double(ns) / 1e9;
    *rssKb = residentKiBOf(pid);
    return *rssKb >= 0;
}

bool statusQueried(SimProcess &sim)
{
    for (const QString &line : sim.send(QStringLiteral("journal"))) {
        const QStringList p = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (p.size() > 2 && p.at(1) == QLatin1String("cmd") && p.at(2) == QLatin1String("26"))
            return true;
    }
    return false;
}

struct Idle
{
    double quiet = -1;    // % of a core, clock running
    double flashing = -1; // % of a core, an alarm flashing as well
    long rssKb = -1;
};

// CPU share of the process over consecutive windows; the median.
double idleShare(qint64 pid, long *rssKb)
{
    std::vector<double> shares;
    double before = 0;
    if (!sampleProcess(pid, &before, rssKb))
        return -1;
    for (int i = 0; i < kIdleWindows; ++i) {
        sleepNs(qint64(kIdleWindowS) * 1000000000);
        double after = 0;
        if (!sampleProcess(pid, &after, rssKb))
            return -1;
        shares.push_back((after - before) / kIdleWindowS * 100.0);
        before = after;
    }
    return median(shares);
}

// A knitpanel process on the main screen, offscreen, with the job loaded and nothing to do.
Idle idlePanel(SimProcess &sim, const QString &root)
{
    Idle idle;
    QProcess panel;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KNIT_ROOT"), root);
    env.insert(QStringLiteral("KNIT_BUZZER"), QStringLiteral("off"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("KNIT_PORT_OFFSET"), QString::number(sim.portOffset()));
    panel.setProcessEnvironment(env);
    panel.setStandardOutputFile(QProcess::nullDevice());
    startOwnProgram(panel, QStringLiteral(KNITPANEL_PATH), {});
    if (!panel.waitForStarted(5000))
        return idle;
    const qint64 giveUp = nowNs() + 20000000000LL;
    bool up = false;
    while (!up && nowNs() < giveUp) {
        sleepNs(50000000);
        up = statusQueried(sim);
    }
    if (up) {
        sleepNs(2000000000LL); // the first paint and the last start-up work settle
        idle.quiet = idleShare(panel.processId(), &idle.rssKb);
        sim.command(QStringLiteral("alarm 2 23"));
        sleepNs(1000000000LL);
        idle.flashing = idleShare(panel.processId(), &idle.rssKb);
        sim.command(QStringLiteral("alarm clear"));
    }
    panel.kill();
    panel.waitForFinished(3000);
    return idle;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("KNIT_BUZZER", "off");
    qputenv("KNIT_CONTROLLER_HOST", "127.0.0.1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The panel's trace is part of its work; it goes where nobody reads it, the figures to the
    // original standard output.
    std::FILE *out = ::fdopen(::dup(1), "w");
    if (!out || !std::freopen("/dev/null", "w", stdout))
        return 0;

    TestRoot root;
    PortOffset::useFree();
    root.makeJob(QStringLiteral("BIG"), 7000, 1000, 250);
    SimProcess sim;
    QString why;
    if (!sim.start(&why)) {
        std::fprintf(out, "bench_reports: knitsim did not start: %s\n", qPrintable(why));
        return 0;
    }
    AtomicFile::save(root.file(QStringLiteral("/mnt/ide/knit/para/checksystem.sys")), readFile(sim.file(QStringLiteral("file.sys"))));
    AtomicFile::save(root.file(QStringLiteral("/mnt/ide/knit/para/checkconfig.cfg")), readFile(sim.file(QStringLiteral("config.cfg"))));
    sim.command(QStringLiteral("set job BIG"));

    const Idle idle = idlePanel(sim, root.path());

    std::vector<double> capacity, steady, backlog;
    quint64 lost = 0;
    int notShown = 0;
    std::vector<double> lags;
    {
        // A dialog nobody expects at start-up is closed rather than left to hang.
        auto driver = std::make_unique<ModalDriver>();
        MachineData machine;
        MainScreen w(machine);
        w.start();
        driver.reset();
        w.updateDesktop(); // the block panel up, as the operator watches it
        runFor(1000);
        const StatusChannel *channel = MainScreenInternals::statusChannel(w);
        if (!channel || !channel->statusBound() || !channel->needleBound()) {
            std::fprintf(out, "bench_reports: the report ports could not be bound\n");
            return 0;
        }
        for (int run = 0; run < kCapacityRuns; ++run) {
            const FloodResult r = flood(w, kCapacityReports, false);
            capacity.push_back(r.perSecond);
            lost += r.lost;
            notShown += r.lastShown ? 0 : 1;
        }
        for (int run = 0; run < kSteadyRuns; ++run) {
            const FloodResult r = flood(w, kSteadyRate * kSteadyMs / 1000, true);
            steady.push_back(r.perSecond);
            backlog.push_back(r.backlogMs);
            lost += r.lost;
            notShown += r.lastShown ? 0 : 1;
        }
        lags = needleLag(w);
    }

    const double cap = median(capacity);
    std::fprintf(out, "row reports, panel's pace (%d in flight), median of %d x %d: %.0f /s (goal >= 20000 /s, ratio %.2f)\n",
                 kWindow, kCapacityRuns, kCapacityReports, cap, cap / 20000.0);
    std::fprintf(out, "row reports at a steady %d /s for %d ms, median of %d: handled %.0f /s, last handled %.1f ms after the last sent\n",
                 kSteadyRate, kSteadyMs, kSteadyRuns, median(steady), median(backlog));
    std::fprintf(out, "reports lost over all runs: %llu (goal 0); runs whose last row and piece count were not shown: %d\n",
                 static_cast<unsigned long long>(lost), notShown);
    const double lagMedian = median(lags);
    const double lagMax = lags.empty() ? -1 : *std::max_element(lags.begin(), lags.end());
    std::fprintf(out, "needle field behind the last needle report, %zu of %d trials: median %.1f ms, max %.1f ms (goal <= 80 ms, ratio %.2f)\n",
                 lags.size(), kNeedleTrials, lagMedian, lagMax, lagMax / 80.0);
    std::fprintf(out, "idle main screen (knitpanel offscreen, median of %d x %d s): %.3f %% of a core, with an alarm flashing %.3f %% (goal < 0.5 %%, ratio %.2f)\n",
                 kIdleWindows, kIdleWindowS, idle.quiet, idle.flashing, std::max(idle.quiet, idle.flashing) / 0.5);
    std::fprintf(out, "resident memory: %ld KiB = %.1f MiB (goal <= 40 MiB, ratio %.2f)\n", idle.rssKb, idle.rssKb / 1024.0,
                 idle.rssKb / 1024.0 / 40.0);
    std::fflush(out);
    return 0;
}
