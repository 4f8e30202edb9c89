// knitfleet serve at floor scale: simulated panels (500 by default) publish a state a second
// each to one mosquitto for --minutes (5 by default); two knitfleet serve record them side by
// side, one to SQLite and one to a throwaway PostgreSQL. Prints the ingest lag (publish of a
// state that is stored → readable on a second connection, p50/p99) against mosquitto_sub's lag
// for the same messages; each knitfleet's CPU against the broker's; the floor page's load with
// every machine (navigation → all rows drawn, headless Chromium, median of 5) against the same
// table as a static file; a week of per-shift history for the floor from the summaries
// against the same figures summed from raw samples; storage per machine-day. Then an attack run
// on a third knitfleet serve (with logins) while the panels go on: 20 s windows, quiet and
// under attack in turn, the attacks from other processes (this program with --attacker):
// 500 connections from 32 loopback addresses each sending a 100 MB body with a blank line
// every 8 KiB, and 100 connections from one address guessing the password. Prints the
// server's memory under attack against quiet, the guesses checked a second, and the honest
// panels' ingest p99 under attack against quiet. Never fails.
#include "brokerprocess.h"
#include "dashboardattack.h"
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
#include <cstdio>
#include <unistd.h>
#include <vector>

using namespace DashboardBench;

namespace {

// Navigation → every row drawn, in ms, seen by an observer that the page itself knows nothing of.
double pageLoadMs(BrowserProcess &browser, const QString &url, int rows)
{
    // The old page's mark is cleared first: until the new document stands, 0 is read.
    browser.evaluate(QStringLiteral("window.__drawn = 0"));
    browser.navigate(url);
    if (!QTest::qWaitFor([&] { return browser.evaluate(QStringLiteral("window.__drawn || 0")).toDouble() > 0; }, 20000))
        std::printf("  %s: not all %d rows drawn within 20 s\n", qPrintable(url), rows);
    return browser.evaluate(QStringLiteral("window.__drawn")).toDouble();
}

// A week of shift summaries for the whole floor, and raw samples for a few machines.
bool makeWeek(FleetDb &db, int machines, int rawMachines, qint64 weekStart, const ShiftPlan &plan)
{
    QSqlDatabase &d = db.db();
    QSqlQuery q(d);
    bool ok = d.transaction();
    q.prepare(QStringLiteral("INSERT INTO machines (id, name) VALUES (?, ?)"));
    for (int m = 1; ok && m <= machines; ++m) {
        q.addBindValue(m);
        q.addBindValue(machineId(m));
        ok = q.exec();
    }
    ok = ok && q.exec(QStringLiteral("INSERT INTO jobs (id, name) VALUES (1, 'M1')"));
    q.prepare(QStringLiteral("INSERT INTO shift_summaries VALUES (?, ?, ?, 1, ?, ?, ?, 0, ?, ?)"));
    for (const ShiftPlan::Shift &s : plan.between(weekStart, weekStart + 7 * kDayMs))
        for (int m = 1; ok && m <= machines; ++m) {
            for (const QVariant &v : QVariantList{m, s.start, s.end, 100 + m % 17, 36000, 7200, 3, 600})
                q.addBindValue(v);
            ok = q.exec();
        }
    q.prepare(QStringLiteral("INSERT INTO samples VALUES (?, ?, 0, 1, 1, 1, ?, 500, NULL)"));
    for (int m = 1; ok && m <= rawMachines; ++m)
        for (qint64 t = weekStart; ok && t < weekStart + 7 * kDayMs; t += 10000) {
            q.addBindValue(m);
            q.addBindValue(t);
            q.addBindValue(int((t - weekStart) / 60000));
            ok = q.exec();
        }
    return ok && d.commit();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--attacker") == 0)
        return attacker(QString::fromLatin1(argv[2]), quint16(QByteArray(argv[3]).toUInt()), QByteArray(argv[4]).toInt());
    double minutes = 5;
    int machines = 500;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (qstrcmp(argv[i], "--minutes") == 0)
            minutes = QByteArray(argv[i + 1]).toDouble();
        else if (qstrcmp(argv[i], "--machines") == 0)
            machines = QByteArray(argv[i + 1]).toInt();
    }
    QString why;
    BrokerProcess broker;
    if (!BrokerProcess::available(&why) || !broker.start(&why)) {
        std::printf("dashboard benchmark skipped: %s\n", qPrintable(why));
        return 0;
    }
    PostgresProcess pg;
    const bool withPg = PostgresProcess::available(&why) && pg.start(&why);
    if (!withPg)
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
    QProcess passwd;
    passwd.start(QStringLiteral(KNITFLEET_PATH), {"passwd", dir.filePath(QStringLiteral("logins")), "office"});
    passwd.write("s3cret\n");
    passwd.closeWriteChannel();
    passwd.waitForFinished(30000);
    if (!fleetSqlite.start({"--url", broker.url(), "--db", sqlite.path})
        || (withPg && !fleetPg.start({"--url", broker.url(), "--db", pg.url()}))
        || !fleetGuarded.start({"--url", broker.url(), "--db", guarded.path, "--auth-file", dir.filePath(QStringLiteral("logins"))})) {
        std::printf("dashboard benchmark: knitfleet serve did not start\n");
        return 0;
    }
    QProcess sub;
    sub.start(QStringLiteral("mosquitto_sub"), {"-h", "127.0.0.1", "-p", QString::number(broker.port()), "-t", "knit/+/state"});
    sub.waitForStarted(5000);

    Outbox outbox(5000);
    MqttClient::Options o;
    BrokerUrl::parse(broker.url(), &o.url, &why);
    o.clientId = "bench-panels";
    MqttClient panels(o, {}, &outbox);
    panels.start();

    std::printf("dashboard: %d simulated panels, a state a second each, %.1f minutes; knitfleet serve to SQLite%s\n", machines,
                minutes, withPg ? " and to PostgreSQL side by side" : "");
    StoredWatch watchSqlite(sqlite);
    StoredWatch watchPg(postgres);
    if (!watchSqlite.open(&why) || (withPg && !watchPg.open(&why))) {
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
    // states are stored at once (the others every 10 s).
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
            outbox.push({Outbox::Kind::State, "knit/" + machineId(next).toUtf8() + "/state", state(next, second, pieces[std::size_t(next)]), false});
            if (piece && clock.elapsed() > warmMs) {
                pendingSqlite.push_back({next, pieces[std::size_t(next)], now});
                if (withPg)
                    pendingPg.push_back({next, pieces[std::size_t(next)], now});
                subPending.insert(machineId(next).toUtf8() + ' ' + QByteArray::number(pieces[std::size_t(next)]), now);
            }
        }
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        watchSqlite.poll(&pendingSqlite, &lagSqlite);
        if (withPg)
            watchPg.poll(&pendingPg, &lagPg);
    });
    QObject::connect(&sub, &QProcess::readyReadStandardOutput, [&] {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        subBuffer += sub.readAllStandardOutput();
        qsizetype nl;
        while ((nl = subBuffer.indexOf('\n')) >= 0) {
            const QByteArray line = subBuffer.left(nl);
            subBuffer.remove(0, nl + 1);
            const int m = line.indexOf("\"machine\":\"");
            const int p = line.indexOf("\"pieces\":");
            const QByteArray key = line.mid(m + 11, 9) + ' ' + line.mid(p + 9, line.indexOf(',', p) - p - 9);
            const auto it = subPending.constFind(key);
            if (m >= 0 && p >= 0 && it != subPending.constEnd()) {
                lagSub.push_back(double(now - *it));
                subPending.erase(it);
            }
        }
    });
    publish.start(20);
    poll.start(20);
    QTimer::singleShot(warmMs, [&] {
        cpu0[0] = cpuSeconds(fleetSqlite.process().processId());
        cpu0[1] = withPg ? cpuSeconds(fleetPg.process().processId()) : 0;
        cpu0[2] = cpuSeconds(broker.processId());
    });
    QTimer::singleShot(runMs, &app, &QCoreApplication::quit);
    app.exec();
    const double span = double(runMs - warmMs) / 1000.0;
    const double cpuSqlite = (cpuSeconds(fleetSqlite.process().processId()) - cpu0[0]) / span * 100;
    const double cpuPg = withPg ? (cpuSeconds(fleetPg.process().processId()) - cpu0[1]) / span * 100 : 0;
    const double cpuBroker = (cpuSeconds(broker.processId()) - cpu0[2]) / span * 100;
    publish.stop();
    // The last states of the run get their second to arrive.
    const bool allSeen = QTest::qWaitFor([&] {
        watchSqlite.poll(&pendingSqlite, &lagSqlite);
        if (withPg)
            watchPg.poll(&pendingPg, &lagPg);
        return pendingSqlite.empty() && pendingPg.empty();
    }, 2000);

    std::printf("ingest lag, publish of a stored state → readable on a second connection (target p99 < 500 ms):\n");
    printLag("mosquitto_sub (reference)", lagSub);
    printLag("knitfleet serve, SQLite", lagSqlite);
    if (withPg)
        printLag("knitfleet serve, PostgreSQL", lagPg);
    if (!allSeen)
        std::printf("  not seen within 2 s after the run: SQLite %zu, PostgreSQL %zu\n", pendingSqlite.size(), pendingPg.size());
    std::printf("CPU over %.0f s (target < 10 %% of a core and ≤ 2 × the broker):\n", span);
    std::printf("  broker %.1f %%, knitfleet SQLite %.1f %% (%.2f × broker)", cpuBroker, cpuSqlite, cpuSqlite / qMax(0.01, cpuBroker));
    if (withPg)
        std::printf(", knitfleet PostgreSQL %.1f %% (%.2f × broker)", cpuPg, cpuPg / qMax(0.01, cpuBroker));
    std::printf("\n");

    attackRun(fleetGuarded, guarded, outbox, machines, 8, 15000);

    // Storage: what a machine-day takes at this message pattern.
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
    if (withPg) {
        FleetDb pgReader(postgres);
        pgReader.open(&why);
        QSqlQuery p(pgReader.db());
        p.exec(QStringLiteral("SELECT pg_total_relation_size('samples') + pg_total_relation_size('alarms') + pg_total_relation_size('machines') + pg_total_relation_size('jobs')"));
        p.next();
        std::printf("  PostgreSQL %.0f KB per machine-day\n", p.value(0).toDouble() / machineDays / 1024);
    }

    // Page load with every machine, against the same rows as a static file.
    BrowserProcess browser;
    if (BrowserProcess::available(&why) && browser.start(QStringLiteral("about:blank"), 1280, 900, &why)) {
        const QString observer = QStringLiteral(
            "new MutationObserver((l, o) => { const b = document.querySelector('tbody');"
            " if (b && b.rows.length >= %1) { window.__drawn = performance.now(); o.disconnect(); } })"
            ".observe(document, {childList: true, subtree: true});").arg(machines);
        browser.addScript(observer);
        QString table = QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><link rel=\"stylesheet\" href=\"%1\"></head><body><table><tbody>")
                            .arg(QStringLiteral("file://" KNIT_SOURCE_DIR "/tools/knitfleet/pages/dashboard.css"));
        for (int i = 1; i <= machines; ++i)
            table += QStringLiteral("<tr><td><a href=\"#\">%1</a></td><td>knitting</td><td>M%2</td><td>17/400</td><td>0.6</td><td>3/500</td><td></td><td>2026-12-07 10:00:00</td></tr>")
                         .arg(machineId(i)).arg(i % 7);
        QFile file(dir.filePath(QStringLiteral("table.html")));
        file.open(QIODevice::WriteOnly);
        file.write((table + QStringLiteral("</tbody></table></body></html>")).toUtf8());
        file.close();
        std::vector<double> live, still;
        for (int i = 0; i < 5; ++i) {
            live.push_back(pageLoadMs(browser, fleetSqlite.url(), machines));
            still.push_back(pageLoadMs(browser, QStringLiteral("file://") + file.fileName(), machines));
        }
        const double l = quantile(live, 0.5), s = quantile(still, 0.5);
        std::printf("floor page with %d machines, navigation → all rows drawn (target < 300 ms, ≤ 1.5 × static):\n"
                    "  knitfleet %.0f ms, static file %.0f ms, ratio %.2f (median of 5)\n", machines, l, s, l / qMax(1.0, s));
    } else {
        std::printf("page load left out: %s\n", qPrintable(why));
    }

    // A week of the floor's shifts, from the summaries against summing raw samples.
    DbTarget weekTarget;
    weekTarget.path = dir.filePath(QStringLiteral("week.sqlite"));
    Dashboard::Options wo;
    wo.db = weekTarget;
    Dashboard week(wo);
    const int rawMachines = 10;
    const qint64 weekStart = week.shifts().plan().at(QDateTime::currentMSecsSinceEpoch() - 8 * kDayMs).start;
    if (week.open(&why) && makeWeek(week.db(), machines, rawMachines, weekStart, wo.shifts)) {
        QUrlQuery range;
        range.addQueryItem(QStringLiteral("from"), IsoTime::text(weekStart));
        range.addQueryItem(QStringLiteral("to"), IsoTime::text(weekStart + 7 * kDayMs));
        std::vector<double> fromSummaries;
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer t;
            t.start();
            const DashboardApi::Answer a = week.api(QStringLiteral("/api/shifts"), range, weekStart + 7 * kDayMs);
            fromSummaries.push_back(double(t.nsecsElapsed()) / 1e6);
            if (a.status != 200)
                std::printf("  /api/shifts answered %d\n", a.status);
        }
        QElapsedTimer t;
        t.start();
        for (int m = 1; m <= rawMachines; ++m)
            for (const ShiftPlan::Shift &s : wo.shifts.between(weekStart, weekStart + 7 * kDayMs)) {
                QMap<QString, ShiftFigures::Figures> f;
                week.shifts().figures(m, s.start, s.end, &f);
            }
        const double raw = double(t.nsecsElapsed()) / 1e6 * machines / rawMachines;
        std::printf("a week of per-shift history for the floor (target < 100 ms):\n"
                    "  from the summaries %.1f ms (median of 5); summed from raw samples ≈ %.0f ms (%d machines timed, scaled to %d)\n",
                    quantile(fromSummaries, 0.5), raw, rawMachines, machines);
    }
    panels.stop();
    sub.kill();
    sub.waitForFinished(3000);
    return 0;
}
