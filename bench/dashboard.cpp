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

namespace {

const qint64 kDayMs = 86400000;

double quantile(std::vector<double> v, double q)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(q * double(v.size())))];
}

double cpuSeconds(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray s = f.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(::sysconf(_SC_CLK_TCK));
}

QString machineId(int i)
{
    return QStringLiteral("HALL-%1").arg(i, 4, 10, QLatin1Char('0'));
}

QByteArray state(int i, int second, int pieces)
{
    return QStringLiteral("{\"alarm\":null,\"job\":\"M%1\",\"knitting_s\":%2,\"machine\":\"%3\",\"pieces\":%4,\"row\":%5,"
                          "\"rows\":400,\"running\":true,\"speed\":0.6,\"stopped_s\":0,\"target\":500,\"time\":\"%6\"}")
        .arg(i % 7).arg(second).arg(machineId(i)).arg(pieces).arg(second % 400)
        .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")))
        .toUtf8();
}

// A stored state waiting to be seen: machine, pieces, when it was published.
struct Pending
{
    int machine;
    int pieces;
    qint64 publishedMs;
};

// Polls a second connection for the pending states; their lags in ms.
class StoredWatch
{
public:
    StoredWatch(const DbTarget &target)
        : db_(target)
    {
    }
    bool open(QString *why) { return db_.open(why); }
    void poll(std::vector<Pending> *pending, std::vector<double> *lags)
    {
        QSqlQuery q(db_.db());
        q.prepare(QStringLiteral("SELECT 1 FROM samples s JOIN machines m ON m.id = s.machine WHERE m.name = ? AND s.pieces = ?"));
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        for (auto it = pending->begin(); it != pending->end();) {
            q.addBindValue(machineId(it->machine));
            q.addBindValue(it->pieces);
            if (q.exec() && q.next()) {
                lags->push_back(double(now - it->publishedMs));
                it = pending->erase(it);
            } else {
                ++it;
            }
        }
    }

private:
    FleetDb db_;
};

void printLag(const char *what, const std::vector<double> &lags)
{
    std::printf("  %-34s p50 %6.1f ms  p99 %6.1f ms  (%zu messages)\n", what, quantile(lags, 0.5), quantile(lags, 0.99), lags.size());
}

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


// --attacker bodies|guesses PORT SECONDS: the attack's other side, in a process of its own so
// the panels' publisher never waits on it. Prints one line: what the server answered.
int attacker(const QString &kind, quint16 port, int seconds)
{
    const bool bodies = kind == QLatin1String("bodies");
    const int connections = bodies ? 500 : 100;
    QHash<int, int> answers; // status -> count
    QElapsedTimer clock;
    clock.start();
    const QByteArray head = bodies ? "POST /api/health HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 100000000\r\n\r\n"
                                   : "GET /api/health HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Basic "
                                         + QByteArray("office:guess").toBase64() + "\r\n\r\n";
    const QByteArray chunk = QByteArray(8190, 'a') + "\r\n\r\n";
    std::function<void(int)> open = [&](int i) {
        if (clock.elapsed() >= seconds * 1000LL)
            return;
        auto *s = new QTcpSocket;
        // Bodies come from 32 addresses (16 connections each are let in), guesses from one.
        if (bodies)
            s->bind(QHostAddress(QStringLiteral("127.0.0.%1").arg(2 + i % 32)), 0);
        auto *sent = new qint64(0);
        QObject::connect(s, &QTcpSocket::connected, s, [s, &head] { s->write(head); });
        QObject::connect(s, &QTcpSocket::bytesWritten, s, [s, sent, bodies, &chunk] {
            while (bodies && *sent < 100000000 && s->bytesToWrite() < 256 * 1024) {
                s->write(chunk);
                *sent += chunk.size();
            }
        });
        QObject::connect(s, &QTcpSocket::readyRead, s, [s, &answers] {
            const QByteArray reply = s->readAll();
            if (reply.startsWith("HTTP/1.1 "))
                ++answers[reply.mid(9, 3).toInt()];
        });
        QObject::connect(s, &QTcpSocket::stateChanged, s, [s, sent, i, &open](QAbstractSocket::SocketState st) {
            if (st != QAbstractSocket::UnconnectedState)
                return;
            s->deleteLater();
            delete sent;
            QTimer::singleShot(10, [i, &open] { open(i); });
        });
        s->connectToHost(QHostAddress::LocalHost, port);
    };
    for (int i = 0; i < connections; ++i)
        open(i);
    QTimer::singleShot(seconds * 1000 + 2000, qApp, &QCoreApplication::quit);
    qApp->exec();
    std::printf("attacker %s: 401 %d 413 %d 429 %d 503 %d\n", qPrintable(kind), answers.value(401), answers.value(413),
                answers.value(429), answers.value(503));
    return 0;
}

qint64 residentKb(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray s = f.readAll();
    return s.mid(s.indexOf("VmRSS:") + 6).trimmed().split(' ').value(0).toLongLong();
}

// The attack run: windows of windowMs, quiet and under attack in turn, the panels publishing
// throughout; fleet records them with logins on.
void attackRun(FleetServe &fleet, const DbTarget &target, Outbox &outbox, int machines, int windows, int windowMs)
{
    StoredWatch watch(target);
    QString why;
    if (!watch.open(&why)) {
        std::printf("attack run left out: %s\n", qPrintable(why));
        return;
    }
    std::vector<Pending> pending[2];
    std::vector<double> lags[2], rss[3]; // quiet, under the bodies, under the guesses
    std::vector<int> pieces(std::size_t(machines) + 1, 1000);
    int window = 0;
    int next = 1;
    QList<QProcess *> attackers;
    QTimer publish, poll, sample, windowTimer;
    QObject::connect(&publish, &QTimer::timeout, [&] {
        for (int k = 0; k < qMax(1, machines / 50); ++k, next = next % machines + 1) {
            const bool piece = QRandomGenerator::global()->bounded(60) == 0;
            pieces[std::size_t(next)] += piece ? 1 : 0;
            outbox.push({Outbox::Kind::State, "knit/" + machineId(next).toUtf8() + "/state", state(next, 0, pieces[std::size_t(next)]), false});
            if (piece && window > 0)
                pending[window % 2].push_back({next, pieces[std::size_t(next)], QDateTime::currentMSecsSinceEpoch()});
        }
    });
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (int w = 0; w < 2; ++w)
            watch.poll(&pending[w], &lags[w]);
    });
    QObject::connect(&sample, &QTimer::timeout, [&] {
        if (window > 0)
            rss[window % 2 == 0 ? 0 : window % 4 == 1 ? 1 : 2].push_back(double(residentKb(fleet.process().processId())) / 1024);
    });
    QEventLoop loop;
    QObject::connect(&windowTimer, &QTimer::timeout, [&] {
        // Window 0 warms up; odd windows are attacked, by bodies and by guesses in turn.
        if (++window > windows)
            return loop.quit();
        if (window % 2 == 1) {
            for (const char *kind : {window % 4 == 1 ? "bodies" : "guesses"}) {
                auto *p = new QProcess;
                p->start(QCoreApplication::applicationFilePath(),
                         {"--attacker", QLatin1String(kind), QString::number(fleet.port()), QString::number(windowMs / 1000)});
                attackers.append(p);
            }
        }
    });
    publish.start(20);
    poll.start(20);
    sample.start(200);
    windowTimer.start(windowMs);
    loop.exec();
    publish.stop();
    // The last states get their seconds to arrive; what never does is told below.
    const bool allSeen = QTest::qWaitFor([&] {
        watch.poll(&pending[0], &lags[0]);
        watch.poll(&pending[1], &lags[1]);
        return pending[0].empty() && pending[1].empty();
    }, 3000);
    if (!allSeen)
        std::printf("  not seen within 3 s: quiet %zu, under attack %zu\n", pending[0].size(), pending[1].size());
    int checked = 0;
    for (QProcess *p : std::as_const(attackers)) {
        p->waitForFinished(10000);
        const QByteArray line = p->readAllStandardOutput().trimmed();
        if (line.startsWith("attacker guesses"))
            checked += line.mid(line.indexOf("401 ") + 4).split(' ').value(0).toInt();
        std::printf("  %s\n", line.constData());
        delete p;
    }
    const double attackedS = double(windows / 4 * windowMs) / 1000;
    std::printf("attack run: %d windows of %d s, every other one under attack, in turn by 500 connections sending 100 MB "
                "bodies from 32 addresses and by 100 connections guessing from one:\n", windows, windowMs / 1000);
    std::printf("  server memory (target < +50 MB): quiet median %.1f MB; under the bodies highest %.1f MB (+%.1f MB); under the "
                "guesses highest %.1f MB (+%.1f MB, a password check takes argon2id's 64 MiB while it runs)\n",
                quantile(rss[0], 0.5), quantile(rss[1], 1.0), quantile(rss[1], 1.0) - quantile(rss[0], 0.5), quantile(rss[2], 1.0),
                quantile(rss[2], 1.0) - quantile(rss[0], 0.5));
    std::printf("  guesses checked from one address over 100 connections (target ≤ 1 a second): %d in %.0f s, %.2f a second\n",
                checked, attackedS, double(checked) / attackedS);
    printLag("ingest lag, quiet", lags[0]);
    printLag("ingest lag, under attack", lags[1]);
    std::printf("  p99 under attack ÷ quiet (target ≤ 1.2): %.2f\n", quantile(lags[1], 0.99) / qMax(1.0, quantile(lags[0], 0.99)));
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
