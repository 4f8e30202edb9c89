// The fleet view at floor scale: 50 offscreen panels, each with its own knitsim knitting, one
// mosquitto and one knitfleet (--events, so every arrival is timed). Prints the time from a row
// report to knitfleet (median and 99th percentile), the CPU the telemetry adds to a panel
// (publishes a second times the cost of building, queueing and sending one, plus the client's
// keep-alive timer while idle, both measured here on the same event loop), knitfleet's and the broker's CPU and the broker's message
// rates. Each CPU figure is the median of three 10 s windows. Prints; never fails.
#include "brokerprocess.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"

#include "platform/atomicfile.h"
#include "telemetry/telemetry.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QJsonDocument>
#include <QTimer>
#include <QJsonObject>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

const int kSpeed = 2; // rows a second
const int kWindowS = 10;
const int kWindows = 3;

double quantile(std::vector<double> v, double q)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(q * double(v.size())))];
}

// CPU seconds of a process or one of its threads (utime + stime of /proc/.../stat).
double cpuSeconds(const QString &statPath)
{
    QFile f(statPath);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray s = f.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(::sysconf(_SC_CLK_TCK));
}

QString procStat(qint64 pid)
{
    return QStringLiteral("/proc/%1/stat").arg(pid);
}

double threadCpuNow()
{
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Panel
{
    QString id;
    std::unique_ptr<TestRoot> root;
    SimProcess sim;
    QProcess process;
    // Row anchorRow stands at anchorMs and the next one comes a row time later: the carriage's
    // row timer is restarted then, so its phase is known whatever the load did to it before.
    qint64 anchorMs = 0;
    int anchorRow = 0;
    void anchor()
    {
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        sim.command(QStringLiteral("set speed %1").arg(kSpeed));
        anchorMs = (before + QDateTime::currentMSecsSinceEpoch()) / 2;
        anchorRow = sim.send(QStringLiteral("knit")).value(0).section(QLatin1Char(' '), 5, 5).toInt();
    }
};

qint64 brokerCounter(const BrokerProcess &broker, const char *name)
{
    return broker.retained(QStringLiteral("$SYS/broker/messages/") + QLatin1String(name)).toLongLong();
}

// This thread's CPU for one state publish: the snapshot, the JSON, the queueing and the sending
// (the client runs on this thread's event loop), and for a second of the client idle.
struct PublishCost
{
    double perPublishUs = 0;
    double idlePercent = 0;
};
PublishCost publishCost(const BrokerProcess &broker)
{
    TelemetryConfig c;
    BrokerUrl::parse(broker.url(), &c.url, nullptr);
    c.machine = QStringLiteral("BENCH");
    TelemetryMessages::State s;
    s.job = QStringLiteral("M1");
    s.rows = 400;
    Telemetry t(c, [&s] { ++s.row; return s; });
    const auto drained = [&t] { return t.outbox().waiting() == 0 && t.outbox().inFlight() == 0; };
    const int n = 2000;
    bool ok = QTest::qWaitFor([&t] { return t.link() == LinkState::Online; }, 10000);
    std::vector<double> runs, idle;
    for (int r = 0; r < 5 && ok; ++r) {
        double start = threadCpuNow();
        for (int i = 0; i < n && ok; ++i) {
            t.runLogged(i % 2 == 0);
            ok = i % 100 != 99 || QTest::qWaitFor(drained, 10000); // the outbox holds 1,000
        }
        ok = ok && QTest::qWaitFor(drained, 10000);
        runs.push_back((threadCpuNow() - start) / n * 1e6);
        // A second of the idle client, on a plain event loop (qWait would add its own polling).
        start = threadCpuNow();
        QEventLoop second;
        QTimer::singleShot(1000, &second, &QEventLoop::quit);
        second.exec();
        idle.push_back((threadCpuNow() - start) * 100);
    }
    if (!ok)
        std::printf("telemetry cost: the broker did not take the messages within 10 s\n");
    return {quantile(runs, 0.5), quantile(idle, 0.5)};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    QString why;
    if (!BrokerProcess::available(&why)) {
        std::printf("fleet benchmark skipped: %s\n", qPrintable(why));
        return 0;
    }
    BrokerProcess broker;
    if (!broker.start(&why)) {
        std::printf("fleet benchmark: %s\n", qPrintable(why));
        return 0;
    }
    std::printf("fleet: %d offscreen panels, each with its knitsim at %d rows/s, state interval 1000 ms, one mosquitto, "
                "one knitfleet\n", count, kSpeed);
    std::fflush(stdout);

    QElapsedTimer setup;
    setup.start();
    std::vector<std::unique_ptr<Panel>> panels;
    for (int i = 0; i < count; ++i) {
        auto p = std::make_unique<Panel>();
        p->id = QStringLiteral("B%1").arg(i, 2, 10, QLatin1Char('0'));
        p->root = std::make_unique<TestRoot>();
        PortOffset::useFree();
        if (!p->sim.start(&why) || !p->root->makeJob(QStringLiteral("M1"), 400, 100, 40)
            || !p->root->writeReferences(p->sim.file(QStringLiteral("file.sys")), p->sim.file(QStringLiteral("config.cfg")))
            || !p->sim.command(QStringLiteral("set job M1")) || !p->sim.command(QStringLiteral("set speed %1").arg(kSpeed))) {
            std::printf("fleet benchmark: panel %d could not be set up: %s\n", i, qPrintable(why));
            return 0;
        }
        AtomicFile::save(p->root->file(QStringLiteral("/mnt/ide/knit/telemetry.ini")),
                         QStringLiteral("[mqtt]\nurl = %1\nmachine = %2\n").arg(broker.url(), p->id).toUtf8());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("KNIT_ROOT"), p->root->path());
        env.insert(QStringLiteral("KNIT_PORT_OFFSET"), QString::number(p->sim.portOffset()));
        env.insert(QStringLiteral("KNIT_CONTROLLER_HOST"), QStringLiteral("127.0.0.1"));
        env.insert(QStringLiteral("KNIT_BUZZER"), QStringLiteral("off"));
        p->process.setProcessEnvironment(env);
        p->process.setStandardOutputFile(QProcess::nullDevice());
        p->process.setStandardErrorFile(p->root->file(QStringLiteral("/panel.err")));
        p->process.start(QStringLiteral(KNITPANEL_PATH), {});
        p->process.waitForStarted(10000);
        panels.push_back(std::move(p));
    }

    QProcess fleet;
    fleet.start(QStringLiteral(KNITFLEET_PATH), {QStringLiteral("--url"), broker.url(), QStringLiteral("--events")});
    fleet.waitForStarted(5000);

    // Each carriage starts once its panel has sent the job; a panel that has not by then is
    // left out (a port taken by another program since its offset was chosen, for one).
    for (std::size_t i = 0; i < panels.size();) {
        Panel &p = *panels[i];
        while (!p.sim.command(QStringLiteral("start M1")) && setup.elapsed() < 120000)
            QTest::qWait(200);
        if (setup.elapsed() < 120000) {
            ++i;
            continue;
        }
        QFile err(p.root->file(QStringLiteral("/panel.err")));
        err.open(QIODevice::ReadOnly);
        std::printf("a panel left out: its controller has no job after 120 s; its last words: %s\n",
                    err.readAll().right(300).constData());
        panels.erase(panels.begin() + std::ptrdiff_t(i));
    }
    if (panels.empty())
        return 0;
    std::printf("%zu panels set up, started and knitting after %.0f s\n", panels.size(), setup.elapsed() / 1000.0);
    std::fflush(stdout);
    QTest::qWait(3000);

    QHash<QString, int> index;
    for (std::size_t i = 0; i < panels.size(); ++i)
        index.insert(panels[i]->id, int(i));
    QHash<QString, int> lastRow;
    std::vector<double> latencies;
    QByteArray pending;
    qint64 arrivals = 0;
    auto readFleet = [&] {
        pending += fleet.readAllStandardOutput();
        for (qsizetype nl; (nl = pending.indexOf('\n')) >= 0; pending.remove(0, nl + 1)) {
            ++arrivals;
            const QJsonObject e = QJsonDocument::fromJson(pending.left(nl)).object();
            const QString id = e.value(QLatin1String("machine")).toString();
            const int row = e.value(QLatin1String("state")).toObject().value(QLatin1String("row")).toInt();
            if (!index.contains(id) || lastRow.value(id) == row)
                continue;
            lastRow.insert(id, row);
            const Panel &p = *panels[std::size_t(index.value(id))];
            if (row <= p.anchorRow)
                continue;
            const qint64 reported = p.anchorMs + qint64(row - p.anchorRow) * 1000 / kSpeed;
            latencies.push_back(e.value(QLatin1String("received_ms")).toDouble() - double(reported));
        }
    };
    QTest::qWait(1000);
    readFleet();
    latencies.clear();

    std::vector<double> panelCpu, fleetCpu, brokerCpu, publishRate, inRate, outRate;
    for (int w = 0; w < kWindows; ++w) {
        readFleet();
        for (auto &p : panels)
            p->anchor();
        std::vector<double> panelBefore;
        for (auto &p : panels)
            panelBefore.push_back(cpuSeconds(procStat(p->process.processId())));
        const double fleetBefore = cpuSeconds(procStat(fleet.processId()));
        const double brokerBefore = cpuSeconds(procStat(broker.processId()));
        const qint64 receivedBefore = brokerCounter(broker, "received");
        const qint64 sentBefore = brokerCounter(broker, "sent");
        const qint64 arrivalsBefore = arrivals;
        QElapsedTimer window;
        window.start();
        while (window.elapsed() < kWindowS * 1000) {
            QTest::qWait(200);
            readFleet();
        }
        const double s = window.elapsed() / 1000.0;
        std::vector<double> whole;
        for (std::size_t i = 0; i < panels.size(); ++i)
            whole.push_back((cpuSeconds(procStat(panels[i]->process.processId())) - panelBefore[i]) / s * 100);
        panelCpu.push_back(quantile(whole, 0.5));
        fleetCpu.push_back((cpuSeconds(procStat(fleet.processId())) - fleetBefore) / s * 100);
        brokerCpu.push_back((cpuSeconds(procStat(broker.processId())) - brokerBefore) / s * 100);
        publishRate.push_back(double(arrivals - arrivalsBefore) / s);
        // The broker's counters (every packet, acknowledgements and pings too) are refreshed
        // once a second: the window's length is good to that.
        inRate.push_back(double(brokerCounter(broker, "received") - receivedBefore) / s);
        outRate.push_back(double(brokerCounter(broker, "sent") - sentBefore) / s);
    }

    const double p50 = quantile(latencies, 0.5);
    const double p99 = quantile(latencies, 0.99);
    std::printf("row report to knitfleet over %zu rows: median %.0f ms, 99th percentile %.0f ms (goal < 2000 ms, ratio %.2f)\n",
                latencies.size(), p50, p99, p99 / 2000.0);
    const PublishCost cost = publishCost(broker);
    const int machines = int(panels.size());
    const double publishesPerPanel = quantile(publishRate, 0.5) / machines;
    const double telemetry = publishesPerPanel * cost.perPublishUs / 1e4 + cost.idlePercent;
    std::printf("telemetry CPU per panel: %.2f publishes/s x %.1f us (built, queued and sent) + %.4f %% idle client = %.3f %% "
                "of a core (goal < 0.2 %%, ratio %.2f)\n",
                publishesPerPanel, cost.perPublishUs, cost.idlePercent, telemetry, telemetry / 0.2);
    std::printf("whole panel CPU for scale: median %.2f %% of a core\n", quantile(panelCpu, 0.5));
    std::printf("knitfleet CPU with %d machines (--events, a line per message): %.2f %% of a core (goal < 2 %%, ratio %.2f)\n",
                machines, quantile(fleetCpu, 0.5), quantile(fleetCpu, 0.5) / 2.0);
    std::printf("broker: %.1f state and status messages/s through it (as knitfleet received them); %.1f packets/s in and "
                "%.1f out of every kind; its CPU %.2f %% of a core\n",
                quantile(publishRate, 0.5), quantile(inRate, 0.5), quantile(outRate, 0.5), quantile(brokerCpu, 0.5));

    fleet.kill();
    fleet.waitForFinished(3000);
    for (auto &p : panels) {
        p->process.kill();
        p->process.waitForFinished(3000);
    }
    return 0;
}
