// knitfleet serve at floor scale: simulated panels (500 by default, in halls of 500) publish a
// state a second each to one mosquitto for --minutes (5 by default); knitfleet serve records
// them, to SQLite and to a throwaway PostgreSQL side by side (--db sqlite|postgresql|both).
// Every second one machine stops for three seconds. Prints the ingest lag (publish of a state
// that is stored → readable on a second connection, p50/p99) against mosquitto_sub's lag for the
// same messages; each knitfleet's CPU against the broker's; stop → its alert's webhook received
// (p50/p99); how far the open shift's summaries lag behind the clock; a hall's TV page with 500
// machines (navigation → all tiles drawn, headless Chromium, median of 5) against the same tiles
// as a static file; a week of per-shift history for the floor from the summaries
// against the same figures summed from raw samples; a 400-day alarm Pareto of 500 machines
// from the per-shift Paretos against grouping every event; storage per machine-day. Then an attack run
// on a third knitfleet serve (with logins, started for it) while the panels go on: 15 s windows, quiet and
// under attack in turn, the attacks from other processes (this program with --attacker):
// 500 connections from 32 loopback addresses each sending a 100 MB body with a blank line
// every 8 KiB, and 100 connections from one address guessing the password. Prints the
// server's memory under attack against quiet, the guesses checked a second, and the honest
// panels' ingest p99 under attack against quiet (--attack 0 leaves it out). Never fails.
#include "brokerprocess.h"
#include "dashboardattack.h"
#include "dashboardfloor.h"
#include "dashboardweek.h"
#include "dashboardload.h"
#include "browserprocess.h"
#include "fleetserve.h"
#include "postgresprocess.h"

#include "dashboard/dashboard.h"
#include "dashboard/isotime.h"
#include "telemetry/mqttclient.h"
#include "telemetry/outbox.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QEventLoop>
#include <QHash>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <cstdio>
#include <unistd.h>
#include <vector>

using namespace DashboardBench;

namespace {

// Storage: what a machine-day takes at this message pattern.
void storage(const DbTarget &sqlite, int machines, qint64 runMs)
{
    QString why;
    FleetDb reader(sqlite);
    reader.open(&why);
    QSqlQuery(reader.db()).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    QSqlQuery rowsQ(reader.db());
    rowsQ.exec(QStringLiteral("SELECT COUNT(*) FROM samples"));
    rowsQ.next();
    const double rows = rowsQ.value(0).toDouble();
    const double bytes = double(QFileInfo(sqlite.path).size() + QFileInfo(sqlite.path + QStringLiteral("-wal")).size());
    const double machineDays = double(machines) * double(runMs) / double(kDayMs);
    std::printf("storage (target ≤ 300 KB per machine-day, SQLite, indexes included):\n  SQLite %.0f rows, %.1f B a row, %.0f KB per machine-day\n",
                rows, bytes / qMax(1.0, rows), bytes / machineDays / 1024);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--attacker") == 0)
        return attacker(QString::fromLatin1(argv[2]), quint16(QByteArray(argv[3]).toUInt()), QByteArray(argv[4]).toInt());
    double minutes = 5;
    int machines = 500;
    QByteArray databases = "both";
    bool attack = true;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (qstrcmp(argv[i], "--minutes") == 0)
            minutes = QByteArray(argv[i + 1]).toDouble();
        else if (qstrcmp(argv[i], "--machines") == 0)
            machines = QByteArray(argv[i + 1]).toInt();
        else if (qstrcmp(argv[i], "--db") == 0)
            databases = argv[i + 1];
        else if (qstrcmp(argv[i], "--attack") == 0)
            attack = QByteArray(argv[i + 1]) != "0";
    }
    const bool withSqlite = databases != "postgresql";
    QString why;
    BrokerProcess broker;
    if (!BrokerProcess::available(&why) || !broker.start(&why)) {
        std::printf("dashboard benchmark skipped: %s\n", qPrintable(why));
        return 0;
    }
    PostgresProcess pg;
    const bool withPg = databases != "sqlite" && PostgresProcess::available(&why) && pg.start(&why);
    if (!withPg && databases != "sqlite")
        std::printf("PostgreSQL left out: %s\n", qPrintable(why));
    QTemporaryDir dir;
    DbTarget sqlite;
    sqlite.path = dir.filePath(QStringLiteral("fleet.sqlite"));
    DbTarget postgres;
    DbTarget::parse(pg.url(), &postgres, &why);
    FleetServe fleetSqlite;
    FleetServe fleetPg;
    FleetServe fleetGuarded;
    DbTarget guarded;
    guarded.path = dir.filePath(QStringLiteral("guarded.sqlite"));
    WebhookWatch hooks;
    for (const char *path : {"/sqlite", "/pg"}) {
        QFile rules(dir.filePath(QLatin1String(path + 1) + QStringLiteral(".alerts")));
        rules.open(QIODevice::WriteOnly);
        rules.write(hooks.rules(path));
    }
    if ((withSqlite && !fleetSqlite.start({"--url", broker.url(), "--db", sqlite.path, "--alerts", dir.filePath(QStringLiteral("sqlite.alerts"))}))
        || (withPg && !fleetPg.start({"--url", broker.url(), "--db", pg.url(), "--alerts", dir.filePath(QStringLiteral("pg.alerts"))}))) {
        std::printf("dashboard benchmark: knitfleet serve did not start\n");
        return 0;
    }
    QProcess sub;
    sub.start(QStringLiteral("mosquitto_sub"), {"-h", "127.0.0.1", "-p", QString::number(broker.port()), "-t", "knit/+/state"});
    sub.waitForStarted(5000);

    // A client for each thousand panels: one client's 20 messages in flight would cap the rate.
    const int clients = qMax(1, machines / 1000);
    std::vector<std::unique_ptr<Outbox>> outboxes;
    std::vector<std::unique_ptr<MqttClient>> panels;
    for (int c = 0; c < clients; ++c) {
        MqttClient::Options o;
        BrokerUrl::parse(broker.url(), &o.url, &why);
        o.clientId = "bench-panels-" + QByteArray::number(c);
        outboxes.push_back(std::make_unique<Outbox>(5000));
        panels.push_back(std::make_unique<MqttClient>(o, MqttClient::Hooks{}, outboxes.back().get()));
        panels.back()->start();
    }

    std::printf("dashboard: %d simulated panels, a state a second each, %.1f minutes; knitfleet serve to %s\n", machines, minutes,
                withSqlite && withPg ? "SQLite and PostgreSQL side by side" : withPg ? "PostgreSQL" : "SQLite");
    StoredWatch watchSqlite(sqlite);
    StoredWatch watchPg(postgres);
    FleetDb shiftsDb(withPg ? postgres : sqlite);
    std::vector<double> openLag;
    if ((withSqlite && !watchSqlite.open(&why)) || (withPg && !watchPg.open(&why)) || !shiftsDb.open(&why)) {
        std::printf("dashboard benchmark: no second connection: %s\n", qPrintable(why));
        return 0;
    }
    std::vector<Pending> pendingSqlite, pendingPg;
    std::vector<double> lagSqlite, lagPg, lagSub;
    QHash<QByteArray, qint64> subPending; // "machine pieces" -> published
    QByteArray subBuffer;
    std::vector<int> pieces(std::size_t(machines) + 1, 0);
    const qint64 runMs = qint64(minutes * 60000);
    const qint64 warmMs = qMin<qint64>(20000, runMs / 5);
    QElapsedTimer clock;
    clock.start();
    double cpu0[3] = {0, 0, 0};
    int second = 0;
    int next = 1;
    QTimer publish;
    // Every 20 ms a fiftieth of the floor; each machine's pieces go up once a minute, so those
    // states are stored at once (the others every 10 s). Machine `second * 7919` stops in its
    // second and knits again three seconds later.
    const auto stopping = [machines](int sec, int m) { return sec >= 0 && (qint64(sec) * 7919 % machines) + 1 == m; };
    QObject::connect(&publish, &QTimer::timeout, [&] {
        for (int k = 0; k < qMax(1, machines / 50); ++k, ++next) {
            if (next > machines) {
                next = 1;
                ++second;
            }
            const bool piece = (second + next) % 60 == 0;
            if (piece)
                ++pieces[std::size_t(next)];
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            const bool warm = clock.elapsed() > warmMs;
            const bool stops = warm && stopping(second, next);
            const bool stood = stops || stopping(second - 1, next) || stopping(second - 2, next);
            if (stops) {
                hooks.stopped["/sqlite"].insert(machineId(next), now);
                hooks.stopped["/pg"].insert(machineId(next), now);
            }
            outboxes[std::size_t(next % clients)]->push({Outbox::Kind::State, "knit/" + machineId(next).toUtf8() + "/state",
                         state(next, second, pieces[std::size_t(next)], !(warm && stood)), false});
            if (piece && warm) {
                if (withSqlite)
                    pendingSqlite.push_back({next, pieces[std::size_t(next)], now});
                if (withPg)
                    pendingPg.push_back({next, pieces[std::size_t(next)], now});
                subPending.insert(machineId(next).toUtf8() + ' ' + QByteArray::number(pieces[std::size_t(next)]), now);
            }
        }
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (withSqlite)
            watchSqlite.poll(&pendingSqlite, &lagSqlite);
        if (withPg)
            watchPg.poll(&pendingPg, &lagPg);
    });
    // The open shift's lag, of a machine that sends all along, every 5 s after the warm-up.
    QTimer shiftPoll;
    const ShiftPlan plan;
    QObject::connect(&shiftPoll, &QTimer::timeout, [&] {
        const double lag = clock.elapsed() > warmMs ? openShiftLagS(shiftsDb, machineId(1), plan.at(QDateTime::currentMSecsSinceEpoch()).start) : -1;
        if (lag >= 0)
            openLag.push_back(lag);
    });
    shiftPoll.start(5000);
    QObject::connect(&sub, &QProcess::readyReadStandardOutput, [&] {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        subBuffer += sub.readAllStandardOutput();
        qsizetype nl;
        while ((nl = subBuffer.indexOf('\n')) >= 0) {
            const QByteArray line = subBuffer.left(nl);
            subBuffer.remove(0, nl + 1);
            const int m = line.indexOf("\"machine\":\"");
            const int p = line.indexOf("\"pieces\":");
            const QByteArray key = line.mid(m + 11, line.indexOf('"', m + 11) - m - 11) + ' ' + line.mid(p + 9, line.indexOf(',', p) - p - 9);
            const auto it = subPending.constFind(key);
            if (m >= 0 && p >= 0 && it != subPending.constEnd()) {
                lagSub.push_back(double(now - *it));
                subPending.erase(it);
            }
        }
    });
    publish.start(20);
    // A query a waiting state each look: at thousands of panels every 50 ms (which bounds the
    // lags' resolution), else every 20 ms.
    poll.start(machines > 1000 ? 50 : 20);
    QTimer::singleShot(warmMs, [&] {
        cpu0[0] = withSqlite ? cpuSeconds(fleetSqlite.process().processId()) : 0;
        cpu0[1] = withPg ? cpuSeconds(fleetPg.process().processId()) : 0;
        cpu0[2] = cpuSeconds(broker.processId());
    });
    QTimer::singleShot(runMs, &app, &QCoreApplication::quit);
    app.exec();
    const double span = double(runMs - warmMs) / 1000.0;
    const double cpuSqlite = withSqlite ? (cpuSeconds(fleetSqlite.process().processId()) - cpu0[0]) / span * 100 : 0;
    const double cpuPg = withPg ? (cpuSeconds(fleetPg.process().processId()) - cpu0[1]) / span * 100 : 0;
    const double cpuBroker = (cpuSeconds(broker.processId()) - cpu0[2]) / span * 100;
    publish.stop();
    // The last states of the run get their second to arrive.
    const bool allSeen = QTest::qWaitFor([&] {
        if (withSqlite)
            watchSqlite.poll(&pendingSqlite, &lagSqlite);
        if (withPg)
            watchPg.poll(&pendingPg, &lagPg);
        return pendingSqlite.empty() && pendingPg.empty();
    }, 2000);

    std::printf("ingest lag, publish of a stored state → readable on a second connection (target p99 < 500 ms):\n");
    printLag("mosquitto_sub (reference)", lagSub);
    if (withSqlite)
        printLag("knitfleet serve, SQLite", lagSqlite);
    if (withPg)
        printLag("knitfleet serve, PostgreSQL", lagPg);
    if (!allSeen)
        std::printf("  not seen within 2 s after the run: SQLite %zu, PostgreSQL %zu\n", pendingSqlite.size(), pendingPg.size());
    std::printf("CPU over %.0f s (target < 10 %% of a core and ≤ 2 × the broker):\n", span);
    std::printf("  broker %.1f %%", cpuBroker);
    if (withSqlite)
        std::printf(", knitfleet SQLite %.1f %% (%.2f × broker)", cpuSqlite, cpuSqlite / qMax(0.01, cpuBroker));
    if (withPg)
        std::printf(", knitfleet PostgreSQL %.1f %% (%.2f × broker)", cpuPg, cpuPg / qMax(0.01, cpuBroker));
    std::printf("\n");
    std::printf("stop → its alert's webhook received (target p99 < 2 s; the rules are looked at once a second):\n");
    if (withSqlite)
        printLag("knitfleet serve, SQLite", hooks.lags["/sqlite"]);
    if (withPg)
        printLag("knitfleet serve, PostgreSQL", hooks.lags["/pg"]);
    std::printf("open shift behind the clock, every 5 s (target ≤ 10 s): median %.1f s, highest %.1f s (%zu looks, %s)\n",
                quantile(openLag, 0.5), quantile(openLag, 1.0), openLag.size(), withPg ? "PostgreSQL" : "SQLite");

    // The attack run's server (with logins) starts only now: ingesting the whole floor, it would
    // take the cores the figures above measure. Its first window takes the floor's retained states.
    if (attack) {
        QProcess passwd;
        passwd.start(QStringLiteral(KNITFLEET_PATH), {"passwd", dir.filePath(QStringLiteral("logins")), "office"});
        passwd.write("s3cret\n");
        passwd.closeWriteChannel();
        passwd.waitForFinished(30000);
        if (fleetGuarded.start({"--url", broker.url(), "--db", guarded.path, "--auth-file", dir.filePath(QStringLiteral("logins"))}))
            attackRun(fleetGuarded, guarded, *outboxes.front(), machines, 8, 15000);
        else
            std::printf("attack run left out: knitfleet serve with logins did not start\n");
    }
    if (withSqlite)
        storage(sqlite, machines, runMs);
    if (withPg) {
        FleetDb pgReader(postgres);
        pgReader.open(&why);
        QSqlQuery p(pgReader.db());
        p.exec(QStringLiteral("SELECT pg_total_relation_size('samples') + pg_total_relation_size('alarms') + pg_total_relation_size('machines') + pg_total_relation_size('jobs')"));
        p.next();
        std::printf("  PostgreSQL %.0f KB per machine-day\n", p.value(0).toDouble() / (double(machines) * double(runMs) / double(kDayMs)) / 1024);
    }
    hallPage(withSqlite ? fleetSqlite : fleetPg, dir, qMin(500, machines));
    weekOfShifts(dir, machines);
    yearOfParetos(dir, qMin(500, machines));
    for (const auto &p : panels)
        p->stop();
    sub.kill();
    sub.waitForFinished(3000);
    return 0;
}
