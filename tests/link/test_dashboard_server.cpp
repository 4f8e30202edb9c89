// knitfleet serve as a program, with a real mosquitto, as an attacker on the office network
// would try it. Faults caught: a method other than GET or HEAD, a path with "..", an oversized
// head, a body, a foreign Host or Origin or a bad query answered as if fine; a reply without
// the security headers; CSV without its byte-order mark or with a formula cell; guesses that
// are cheap (answered at once, many a connection, out of order) or a right login refused; a
// body, a trickle or many connections that hold memory or slots; panels past the machine cap
// on any topic, or past their rate; a live page that never reads kept; an auth file with plain
// or empty passwords, or readable by others, accepted; a listen address off loopback started
// without logins or TLS, a password in the database URL accepted, a second knitfleet on the
// same file; bad payloads, reasons or reason lists recorded or not counted. Accounts: a page or
// API open without a login, a POST without the session's CSRF token taken, a route's method
// or least role not kept, the auth file's login above a viewer, a session cookie without its
// attributes or kept past its idle time or its logout, a password taken from the command line
// or stored other than as argon2id, on SQLite and PostgreSQL. The audit: a login or account
// change missing or told wrong, open to a viewer, a hostile name breaking its CSV.
#include "brokerprocess.h"
#include "fleetserve.h"
#include "outboxsend.h"
#include "postgresprocess.h"
#include "residentsize.h"
#include "testbytes.h"
#include "testtable.h"

#include "telemetry/outbox.h"

#include "dashboard/auditlog.h"
#include "dashboard/fleetdb.h"
#include "dashboard/userstore.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageAuthenticationCode>
#include <QRegularExpression>
#include <QSet>
#include <QTcpServer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <csignal>
#include <limits>
#include <sys/socket.h>

namespace {

const QByteArray kHost = " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
const QByteArray kUpgrade = "GET /ws HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                            "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n";

enum Attack { PipelinedGuesses, BlankLineBody, Trickle, Connections, JobNames, AlarmFlood, NeverReads };

// A webhook receiver on loopback: keeps each request's path, signature and body, and answers
// the first `failing` with 500.
class HookReceiver : public QTcpServer
{
public:
    struct Hit
    {
        QByteArray path;
        QByteArray signature;
        QJsonObject body;
        QByteArray raw;
    };
    QList<Hit> hits;
    int failing = 1;

    HookReceiver()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = nextPendingConnection())
                connect(s, &QTcpSocket::readyRead, s, [this, s] { take(s); });
        });
    }
    QList<Hit> at(const QByteArray &path, const char *event) const
    {
        QList<Hit> out;
        for (const Hit &h : hits)
            if (h.path == path && h.body.value(QLatin1String("event")).toString() == QLatin1String(event))
                out.append(h);
        return out;
    }

private:
    void take(QTcpSocket *s)
    {
        QByteArray all = s->property("held").toByteArray() + s->readAll();
        s->setProperty("held", all);
        const qsizetype end = all.indexOf("\r\n\r\n");
        const QRegularExpressionMatch length = QRegularExpression(QStringLiteral("(?i)content-length: *([0-9]+)")).match(QString::fromLatin1(all.left(end)));
        if (end < 0 || !length.hasMatch() || all.size() < end + 4 + length.captured(1).toInt())
            return;
        const QRegularExpressionMatch sig = QRegularExpression(QStringLiteral("(?i)x-knit-signature: *(\\S+)")).match(QString::fromLatin1(all.left(end)));
        const QByteArray body = all.mid(end + 4);
        hits.append({all.split(' ').value(1), sig.captured(1).toLatin1(), QJsonDocument::fromJson(body).object(), body});
        s->write(failing-- > 0 ? "HTTP/1.1 500 Oops\r\nContent-Length: 0\r\nConnection: close\r\n\r\n"
                               : "HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        s->disconnectFromHost();
    }
};

} // namespace

class TestDashboardServer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        BROKER_START(broker_, FleetServe::built(&why));
        QVERIFY(fleet_.start({"--url", broker_.url(), "--db", dir_.filePath(QStringLiteral("fleet.sqlite"))}));
        QVERIFY(passwd(auth_, "office", "s3cret"));
    }

    void access_data()
    {
        TestTable::columns<QByteArray, int>("request", "status");
        QTest::addRow("the floor page") << "GET /" + kHost + "\r\n" << 200;
        QTest::addRow("HEAD") << "HEAD /api/health" + kHost + "\r\n" << 200;
        QTest::addRow("POST") << "POST /api/health" + kHost + "\r\n" << 405;
        QTest::addRow("body on GET") << "GET /" + kHost + "Content-Length: 5\r\n\r\nhello" << 413;
        QTest::addRow("chunked body") << "GET /" + kHost + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n" << 413;
        QTest::addRow("bare LF") << QByteArray("GET / HTTP/1.1\nHost: 127.0.0.1\n\n") << 400;
        QTest::addRow("foreign Host") << QByteArray("GET /api/machines HTTP/1.1\r\nHost: rebind.attacker.example\r\n\r\n") << 421;
        QTest::addRow("foreign Origin") << kUpgrade + "Origin: http://rebind.attacker.example\r\n\r\n" << 403;
        QTest::addRow("own Origin") << kUpgrade + "Origin: http://127.0.0.1:8080\r\n\r\n" << 101;
        QTest::addRow("..") << "GET /static/../dashboardserver.cpp" + kHost + "\r\n" << 400;
        QTest::addRow("encoded ..") << "GET /static/%2e%2e/%2e%2e/etc/passwd" + kHost + "\r\n" << 400;
        QTest::addRow("unknown API") << "GET /api/nothing" + kHost + "\r\n" << 404;
        QTest::addRow("bad time") << "GET /api/shifts?from=yesterday" + kHost + "\r\n" << 400;
        QTest::addRow("span backwards") << "GET /api/alarms/pareto?from=2026-02-01&to=2026-01-01" + kHost + "\r\n" << 400;
        QTest::addRow("unknown machine") << "GET /api/machines/NOPE/samples" + kHost + "\r\n" << 404;
        QTest::addRow("bad format") << "GET /api/machines?format=xml" + kHost + "\r\n" << 400;
        QTest::addRow("head over 16 KiB") << "GET /" + kHost + "X-Big: " + QByteArray(17 * 1024, 'a') + "\r\n\r\n" << 431;
    }

    void access()
    {
        auto [request, status] = TestTable::fetch<QByteArray, int>("request", "status");
        const FleetServe::Reply r = fleet_.request(request);
        QCOMPARE(r.status, status);
        if (status == 101)
            return;
        for (const char *header : {"Content-Security-Policy: default-src 'self'; frame-ancestors 'none'", "X-Frame-Options: DENY",
                                   "X-Content-Type-Options: nosniff", "Referrer-Policy: no-referrer", "Cache-Control: no-store"})
            QVERIFY2(r.head.contains(header), r.head.constData());
        if (request.startsWith("HEAD"))
            QVERIFY(r.body.isEmpty() && r.head.contains("Content-Length: ") && !r.head.contains("Content-Length: 0"));
        else if (status >= 400)
            QVERIFY(QJsonDocument::fromJson(r.body).object().contains(QLatin1String("error")));
    }

    void roles_data()
    {
        TestTable::columns<QByteArray, QByteArray, int>("caller", "request", "status");
        // $csrf: the caller's token. "basic": the auth file's login.
        QTest::addRow("no login: a page goes to the form") << QByteArray() << QByteArray("GET /") << 303;
        QTest::addRow("no login: the API") << QByteArray() << QByteArray("GET /api/machines") << 401;
        QTest::addRow("no login: the form") << QByteArray() << QByteArray("GET /login") << 200;
        QTest::addRow("no login: logout") << QByteArray() << QByteArray("POST /logout") << 401;
        QTest::addRow("viewer: a page") << QByteArray("viewer") << QByteArray("GET /") << 200;
        QTest::addRow("viewer: the API") << QByteArray("viewer") << QByteArray("GET /api/machines") << 200;
        QTest::addRow("viewer: POST without the token") << QByteArray("viewer") << QByteArray("POST /logout") << 403;
        QTest::addRow("viewer: POST with another token") << QByteArray("viewer") << QByteArray("POST /logout\r\nX-CSRF-Token: x$csrf") << 403;
        QTest::addRow("viewer: a POST from another site") << QByteArray("viewer")
            << QByteArray("POST /logout\r\nX-CSRF-Token: $csrf\r\nOrigin: http://attacker.example") << 403;
        QTest::addRow("viewer: GET /logout") << QByteArray("viewer") << QByteArray("GET /logout") << 405;
        QTest::addRow("admin: POST to the API") << QByteArray("admin") << QByteArray("POST /api/health\r\nX-CSRF-Token: $csrf") << 405;
        QTest::addRow("admin: a login form over 4 KiB") << QByteArray("admin")
            << "POST /login\r\nContent-Length: 5000\r\n\r\n" + QByteArray(5000, 'u') << 413;
        QTest::addRow("viewer: the audit") << QByteArray("viewer") << QByteArray("GET /api/audit") << 403;
        QTest::addRow("viewer: the audit page") << QByteArray("viewer") << QByteArray("GET /audit") << 403;
        QTest::addRow("admin: the audit page") << QByteArray("admin") << QByteArray("GET /audit") << 200;
        QTest::addRow("basic: the API") << QByteArray("basic") << QByteArray("GET /api/machines") << 200;
        QTest::addRow("basic: not the audit") << QByteArray("basic") << QByteArray("GET /api/audit") << 403;
        QTest::addRow("basic: no POST") << QByteArray("basic") << QByteArray("POST /logout\r\nX-CSRF-Token: $csrf") << 403;
        QTest::addRow("basic: not a session") << QByteArray("basic") << QByteArray("GET /api/session") << 200;
        QTest::addRow("viewer: the job library") << QByteArray("viewer") << QByteArray("GET /api/library") << 200;
        QTest::addRow("viewer: no upload") << QByteArray("viewer") << QByteArray("POST /api/library\r\nX-CSRF-Token: $csrf") << 403;
        QTest::addRow("viewer: no approval") << QByteArray("viewer") << QByteArray("POST /api/library/J1/1/approve\r\nX-CSRF-Token: $csrf") << 403;
        QTest::addRow("admin: an upload without the token") << QByteArray("admin") << QByteArray("POST /api/library") << 403;
        QTest::addRow("viewer: an upload's body, refused at its head") << QByteArray("viewer")
            << QByteArray("POST /api/library\r\nX-CSRF-Token: $csrf\r\nContent-Length: 5000\r\n\r\n") << 413;
        QTest::addRow("admin: an upload over 32 MiB, refused at its head") << QByteArray("admin")
            << QByteArray("POST /api/library\r\nX-CSRF-Token: $csrf\r\nContent-Length: 33554433\r\n\r\n") << 413;
        QTest::addRow("admin: a job name with a control character") << QByteArray("admin") << QByteArray("GET /api/library/J%01/1/J%01.cnt") << 400;
        QTest::addRow("admin: approval by GET") << QByteArray("admin") << QByteArray("GET /api/library/J1/1/approve") << 405;
        QTest::addRow("admin: archiving by GET") << QByteArray("admin") << QByteArray("HEAD /api/library/J1/archive") << 405;
        QTest::addRow("viewer: no assignment") << QByteArray("viewer") << QByteArray("POST /api/machines/M1/job\r\nX-CSRF-Token: $csrf") << 403;
        QTest::addRow("admin: an assignment without the token") << QByteArray("admin") << QByteArray("POST /api/machines/M1/job") << 403;
        QTest::addRow("admin: an assignment's bad body") << QByteArray("admin")
            << QByteArray("POST /api/machines/M1/job\r\nX-CSRF-Token: $csrf\r\nContent-Length: 13\r\n\r\n{\"job\":\"a/b\"}") << 400;
        QTest::addRow("admin: a machine never seen") << QByteArray("admin")
            << QByteArray("POST /api/machines/M1/job\r\nX-CSRF-Token: $csrf\r\nContent-Length: 24\r\n\r\n{\"job\":\"J1\",\"version\":1}") << 404;
        QTest::addRow("admin: POST to a machine's page") << QByteArray("admin") << QByteArray("POST /api/machines/M1\r\nX-CSRF-Token: $csrf") << 405;
    }

    void roles()
    {
        auto [caller, request, status] = TestTable::fetch<QByteArray, QByteArray, int>("caller", "request", "status");
        QVERIFY(startAccounts());
        const Signed who = caller == "basic" ? Signed{basic("office:s3cret"), QByteArray()} : signIn(caller);
        QVERIFY(caller.isEmpty() || !who.headers.isEmpty());
        request.replace("$csrf", who.csrf);
        const qsizetype line = request.indexOf("\r\n");
        QByteArray extra = line < 0 ? QByteArray() : request.mid(line + 2);
        if (!extra.contains("\r\n\r\n"))
            extra += QByteArray(extra.isEmpty() ? "" : "\r\n") + "\r\n";
        const FleetServe::Reply r = accounts_.request((line < 0 ? request : request.left(line)) + kHost + who.headers + extra);
        QCOMPARE(r.status, status);
        if (status == 303)
            QVERIFY2(r.head.contains("Location: /login"), r.head.constData());
        if (request == "GET /api/session") {
            const QJsonObject o = QJsonDocument::fromJson(r.body).object();
            QCOMPARE(o.value(QLatin1String("role")).toString(), QStringLiteral("viewer"));
            QCOMPARE(o.value(QLatin1String("csrf")).toString(), QString());
        }
    }

    // The cookie's attributes; a session ends at logout and when idle longer than allowed.
    void sessions()
    {
        QVERIFY(startAccounts());
        const FleetServe::Reply in = login(accounts_, "boss", "b055");
        QCOMPARE(in.status, 303);
        const QRegularExpressionMatch cookie = QRegularExpression(QStringLiteral("Set-Cookie: knitfleet_session=([A-Za-z0-9_-]{43}); Path=/; "
                                                                                 "HttpOnly; SameSite=Strict\r")).match(QString::fromLatin1(in.head + '\r'));
        QVERIFY2(cookie.hasMatch(), in.head.constData());
        const QByteArray jar = "Cookie: knitfleet_session=" + cookie.captured(1).toLatin1() + "\r\n";
        const QJsonObject s = QJsonDocument::fromJson(accounts_.get("/api/session", jar).body).object();
        QCOMPARE(s.value(QLatin1String("user")).toString(), QStringLiteral("boss"));
        QCOMPARE(s.value(QLatin1String("role")).toString(), QStringLiteral("admin"));
        const QByteArray csrf = s.value(QLatin1String("csrf")).toString().toLatin1();
        const QByteArray form = "csrf=" + csrf;
        const FleetServe::Reply out = accounts_.request("POST /logout" + kHost + jar + "Content-Type: application/x-www-form-urlencoded\r\n"
                                                        "Content-Length: " + QByteArray::number(form.size()) + "\r\n\r\n" + form);
        QCOMPARE(out.status, 303);
        QVERIFY(out.head.contains("Max-Age=0"));
        QCOMPARE(accounts_.get("/api/machines", jar).status, 401);
        // Idle past --session-idle-s 1: a server that keeps sessions a second.
        FleetServe brief;
        const QString db = dir_.filePath(QStringLiteral("b.sqlite"));
        QCOMPARE(user({"add", "boss", "--role", "admin", "--db", db}, "b055\n"), 0);
        QVERIFY(brief.start({"--url", broker_.url(), "--db", db, "--session-idle-s", "1"}));
        const QByteArray briefJar = jarOf(login(brief, "boss", "b055"));
        QCOMPARE(brief.get("/api/machines", briefJar).status, 200);
        // The server last saw the session before that reply came: idle a second from here.
        const QDeadlineTimer idle(1000);
        QVERIFY(QTest::qWaitFor([&idle] { return idle.hasExpired(); }, 5000));
        QCOMPARE(brief.get("/api/machines", briefJar).status, 401);
        // A wrong password costs a second, and a try from the address within it waits unchecked.
        QElapsedTimer clock;
        clock.start();
        QTcpSocket wrong;
        wrong.connectToHost(QHostAddress::LocalHost, quint16(brief.port()));
        QVERIFY(wrong.waitForConnected(3000));
        wrong.write("POST /login" + kHost + "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 25\r\n\r\n"
                    "user=boss&password=guess1");
        QTRY_VERIFY_WITH_TIMEOUT(serverSaid(brief, "login failed from 127.0.0.1 as \"boss\""), 10000);
        const FleetServe::Reply again = login(brief, "boss", "b055");
        QVERIFY2(again.head.contains("Location: /login?locked=1"), again.head.constData());
        QVERIFY(readUntilClosed(wrong, 5000).contains("Location: /login?failed=1"));
        QVERIFY(clock.elapsed() >= 1000);
    }

    // Logins ok and failed, and account changes, with who and from where; a hostile name stays
    // text, in the JSON as in the CSV.
    void audit()
    {
        QVERIFY(startAccounts());
        const QByteArray admin = signIn("admin").headers;
        QVERIFY(!admin.isEmpty());
        QVERIFY(login(accounts_, "%3Dcmd%7C%01x", "guess").head.contains("Location: /login?failed=1"));
        const auto entries = [&] {
            return QJsonDocument::fromJson(accounts_.get("/api/audit", admin).body).object().value(QLatin1String("entries")).toArray();
        };
        const auto has = [&](const char *action, const char *name, const char *address) {
            const QJsonArray all = entries();
            return std::any_of(all.begin(), all.end(), [&](const QJsonValue &v) {
                const QJsonObject o = v.toObject();
                return o.value(QLatin1String("action")).toString() == QLatin1String(action)
                    && o.value(QLatin1String("user")).toString() == QLatin1String(name)
                    && o.value(QLatin1String("address")).toString() == QLatin1String(address);
            });
        };
        QTRY_VERIFY_WITH_TIMEOUT(has("login-failed", "=cmd|\\x01x", "127.0.0.1"), 10000);
        QVERIFY(has("login", "boss", "127.0.0.1"));
        QVERIFY(has("user-add", "eve", ""));
        const FleetServe::Reply csv = accounts_.get("/api/audit?action=login-failed&format=csv", admin);
        QVERIFY(csv.body.startsWith("\xEF\xBB\xBFtime,action,user,machine,address,detail\r\n"));
        QVERIFY2(csv.body.contains("'=cmd|\\x01x") && !csv.body.contains('\x01'), csv.body.constData());
    }

    void users_data() { databases(); }

    // knitfleet user on either database: the password from standard input only, kept as argon2id.
    void users()
    {
        auto [postgres] = TestTable::fetch<bool>("postgres");
        QString why;
        bool skip = false;
        const QString db = database(postgres, "users.sqlite", &skip, &why);
        if (skip)
            QSKIP(qPrintable(why));
        QVERIFY2(!db.isEmpty(), qPrintable(why));
        QCOMPARE(user({"add", "ann", "--role", "supervisor", "--db", db}, "first\n"), 0);
        // Refused before a password is asked for.
        QCOMPARE(user({"add", "ann", "--role", "viewer", "--db", db}, QByteArray()), 73);
        QCOMPARE(user({"add", "bo", "--role", "root", "--db", db}, "x\n"), 64);
        QCOMPARE(user({"add", "bo", "--role", "viewer", "--db", db}, "\n"), 65);
        QCOMPARE(user({"add", "bo", "--role", "viewer", "--db", db}, "second\n"), 0);
        QCOMPARE(user({"remove", "bo", "--db", db}, QByteArray()), 0);
        QCOMPARE(user({"remove", "bo", "--db", db}, QByteArray()), 67);
        // The last admin stays: nobody could keep the accounts without one.
        QCOMPARE(user({"add", "root", "--role", "admin", "--db", db}, "r00t\n"), 0);
        QCOMPARE(user({"remove", "root", "--db", db}, QByteArray()), 77);
        const QByteArray before = storedHash(db, "ann");
        QCOMPARE(user({"passwd", "ann", "--db", db}, "changed\n"), 0);
        QCOMPARE(user({"list", "--db", db}, QByteArray()), 0);
        QCOMPARE(userOutput_, QByteArray("ann supervisor\nroot admin\n"));
        const QByteArray after = storedHash(db, "ann");
        QVERIFY2(after.startsWith("$argon2id$") && after != before && !after.contains("changed"), after.constData());
        QCOMPARE(audited(db), QStringList({"user-passwd ann", "user-add root", "user-remove bo", "user-add bo", "user-add ann"}));
    }

    // A page's files are kept under the mark the page names only: one of another build is not.
    void pageFilesKept()
    {
        const QByteArray page = fleet_.get("/").body;
        const qsizetype at = page.indexOf("/static/live.js?v=");
        QVERIFY(at > 0);
        const QByteArray marked = page.mid(at, page.indexOf('"', at) - at);
        QVERIFY(fleet_.get(marked).head.contains("Cache-Control: private, max-age=31536000, immutable"));
        const FleetServe::Reply other = fleet_.get(marked.left(marked.size() - 1) + (marked.endsWith('0') ? "1" : "0"));
        QCOMPARE(other.status, 200);
        QVERIFY(other.head.contains("Cache-Control: no-store"));
    }

    // Every page is whole: no placeholder left, the shared head and navigation in. The texts
    // table names each key once: a second one silently replaces the first (an alarm's
    // "cleared" once read as the job offer's message).
    void pagesWhole()
    {
        for (const char *path : {"/", "/shifts", "/alerts", "/library", "/machine/M1", "/report?day=2026-12-01"}) {
            const QByteArray page = fleet_.get(path).body;
            QVERIFY2(!page.contains("{{") && page.contains("/static/common.js?v=") && page.contains("href=\"/audit\""), path);
        }
        const QString texts = QString::fromUtf8(fleet_.get("/static/common.js").body);
        for (const QString &table : {QStringLiteral("\n  en: {"), QStringLiteral("\n  zh: {")}) {
            const qsizetype from = texts.indexOf(table);
            QStringList keys;
            auto it = QRegularExpression(QStringLiteral("(?:\\n    |', )([A-Za-z]+): '"))
                          .globalMatch(texts.mid(from, texts.indexOf(QStringLiteral("\n  },"), from) - from));
            while (it.hasNext())
                keys.append(it.next().captured(1));
            QVERIFY(keys.size() > 90);
            QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
        }
    }

    void badPayloadsCounted()
    {
        const QByteArray good = R"j({"job":"=HYPERLINK(1)","running":true,"pieces":1,"alarm":null})j";
        const QList<QPair<QString, QByteArray>> messages{{"knit/B1/state", QByteArray(5000, ' ') + good},
                                                         {"knit/B1/state", "not json"},
                                                         {"knit/B1/state", R"({"pieces":"many"})"},
                                                         {"knit/B1/state", R"({"pieces":-1})"},
                                                         {"knit/B1/state", R"({"pieces":1e300})"},
                                                         {"knit/B 1/state", good},
                                                         {"knit/B1/alarm", R"({"event":"exploded","time":"2026-01-01T00:00:00"})"},
                                                         {"knit/B1/state", good},
                                                         {"knit/B2/state", R"j({"job":"J0\u202egnp.exe","pieces":1})j"}};
        for (const auto &m : messages)
            QVERIFY(broker_.publish(m.first, m.second));
        QTRY_COMPARE_WITH_TIMEOUT(health(fleet_).value(QLatin1String("machines")).toInt(), 2, 10000);
        QTRY_COMPARE(health(fleet_).value(QLatin1String("ignored")).toInt(), 7);
        // Reasons and reason lists: B3 and B5 stand (their clocks known), B4 knits; each bad one is
        // ignored. No machine gets over 10 a second.
        const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
        const QString old = QDateTime::currentDateTime().addDays(-1).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
        const auto stop = [&](const QString &code, const QString &since, const QString &text) {
            return QStringLiteral(R"({"code":%1,"planned":true,"since":"%2","text":"%3","time":"%4"})").arg(code, since, text, now).toUtf8();
        };
        const QList<QPair<QString, QByteArray>> stops{
            {"knit/B3/state", QStringLiteral(R"({"job":"J","running":false,"pieces":1,"time":"%1"})").arg(now).toUtf8()},
            {"knit/B4/state", QStringLiteral(R"({"job":"J","running":true,"pieces":1,"time":"%1"})").arg(now).toUtf8()},
            {"knit/B5/state", QStringLiteral(R"({"job":"J","running":false,"pieces":1,"time":"%1"})").arg(now).toUtf8()},
            {"knit/B3/config", R"({"reasons":[{"code":7,"zh":"休息","en":"Break","planned":true},{"code":1,"zh":"","en":"x"}]})"},
            {"knit/B3/config", R"({"ask_after_s":5})"},
            {"knit/B3/config", R"({"reasons":[{"code":7,"zh":"休息","en":"Break","planned":true}]})"},
            {"knit/B5/stop", stop("12", now, "x")},
            {"knit/B5/stop", stop(QStringLiteral("\"7\""), now, "x")},
            {"knit/B5/stop", stop("7", now, QString(33, QLatin1Char('x')))},
            {"knit/B5/stop", stop("7", now, QString(5000, QLatin1Char('x')))},
            {"knit/B3/stop", stop("7", old, "x")},
            {"knit/B3/stop", stop("5", now, "x")},
            {"knit/B4/stop", stop("7", now, "x")},
            {"knit/NEVER/stop", stop("7", now, "x")},
            {"knit/B3/stop", stop("7", now, "<b>休息</b>")}};
        for (const auto &m : stops)
            QVERIFY(broker_.publish(m.first, m.second));
        QTRY_COMPARE_WITH_TIMEOUT(health(fleet_).value(QLatin1String("ignored")).toInt(), 7 + 10, 10000);
        // Taken, and kept as text.
        const QByteArray reason = R"("reason":{"code":7,"planned":true,"text":"<b>休息</b>"})";
        QTRY_VERIFY2(fleet_.get("/api/machines").body.contains(reason), fleet_.get("/api/machines").body.constData());
        QCOMPARE(health(fleet_).value(QLatin1String("machines")).toInt(), 5);
        QCOMPARE(health(fleet_).value(QLatin1String("dropped")).toInt(), 0);
        const FleetServe::Reply csv = fleet_.get("/api/machines?format=csv");
        QCOMPARE(csv.status, 200);
        QVERIFY(csv.body.startsWith("\xEF\xBB\xBFmachine,group,state,"));
        QVERIFY2(csv.body.contains("\"'=HYPERLINK(1)\""), csv.body.constData());
        // A direction override cannot turn the name around.
        QVERIFY2(csv.body.contains(",J0gnp.exe,"), csv.body.constData());
    }

    // No login is no guess: asked for at once, and the connection goes on. (A wrong login's
    // wait, and the right one taken after guesses, are the attacks'.)
    void login()
    {
        QVERIFY(startGuarded());
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(guarded_.get("/api/health").status, 401);
        QVERIFY(clock.elapsed() < 900);
    }

    void attacks_data()
    {
        TestTable::columns<int, int, int>("attack", "status", "bound");
        // Bound: the replies a connection gets; the server's growth in MiB; seconds to the cut;
        // connections held; distinct job names kept; machines; seconds to the close.
        QTest::addRow("50 guesses and the password pipelined") << int(PipelinedGuesses) << 401 << 1;
        QTest::addRow("a 100 MB body with a blank line every 8 KiB") << int(BlankLineBody) << 413 << 8;
        QTest::addRow("a head at a byte every half second") << int(Trickle) << 408 << 11;
        QTest::addRow("17 connections from one address") << int(Connections) << 503 << 16;
        QTest::addRow("1,000 job names from one panel at once") << int(JobNames) << 200 << 30;
        QTest::addRow("alarms of 300 new machines on a full floor") << int(AlarmFlood) << 200 << 5000;
        QTest::addRow("a live page that never reads") << int(NeverReads) << 101 << 90;
    }

    void attacks()
    {
        auto [attack, status, bound] = TestTable::fetch<int, int, int>("attack", "status", "bound");
        // A floor's messages reach every server on the broker: the accounts' one is done with,
        // and under a sanitizer it would take the cores this one needs.
        accounts_.stop();
        QVERIFY(startGuarded());
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, quint16(guarded_.port()));
        QVERIFY(s.waitForConnected(3000));
        QElapsedTimer clock;
        clock.start();
        switch (Attack(attack)) {
        case PipelinedGuesses: {
            QByteArray guesses;
            for (int i = 0; i < 50; ++i)
                guesses += "GET /api/health" + kHost + basic("office:guess" + QByteArray::number(i)) + "\r\n";
            s.write(guesses + "GET /api/health" + kHost + basic("office:s3cret") + "\r\n");
            const QByteArray all = readUntilClosed(s, 15000);
            QCOMPARE(all.count("HTTP/1.1 "), bound);
            QCOMPARE(all.left(12), "HTTP/1.1 " + QByteArray::number(status));
            QVERIFY(clock.elapsed() >= 1000);
            break;
        }
        case BlankLineBody: {
            const qint64 before = residentKiBOf(guarded_.process().processId());
            s.write("POST /api/health" + kHost + basic("office:s3cret") + "Content-Length: 100000000\r\n\r\n");
            const QByteArray chunk = QByteArray(8190, 'a') + "\r\n\r\n";
            for (int sent = 0; sent < 100000000 && s.state() == QAbstractSocket::ConnectedState; sent += chunk.size()) {
                s.write(chunk);
                s.waitForBytesWritten(1000);
            }
            QVERIFY(s.state() != QAbstractSocket::ConnectedState);
            QVERIFY(s.peek(12).isEmpty() || s.peek(12) == "HTTP/1.1 " + QByteArray::number(status));
            QVERIFY(residentKiBOf(guarded_.process().processId()) - before < bound * 1024);
            break;
        }
        case Trickle: {
            const QByteArray head = "GET /api/health" + kHost + basic("office:s3cret") + QByteArray(64, 'x');
            for (int i = 0; i < head.size() && s.bytesAvailable() == 0 && s.state() == QAbstractSocket::ConnectedState; ++i) {
                s.write(head.mid(i, 1));
                s.waitForReadyRead(500);
            }
            QCOMPARE(s.readAll().left(12), "HTTP/1.1 " + QByteArray::number(status));
            QVERIFY(clock.elapsed() < bound * 1000);
            break;
        }
        case Connections: {
            std::vector<std::unique_ptr<QTcpSocket>> more;
            for (int i = 1; i <= bound; ++i) {
                more.push_back(std::make_unique<QTcpSocket>());
                more.back()->connectToHost(QHostAddress::LocalHost, quint16(guarded_.port()));
                QVERIFY(more.back()->waitForConnected(3000));
            }
            // The first 16 (s among them) stay; the 17th is answered at once and closed.
            QCOMPARE(readUntilClosed(*more.back(), 5000).left(12), "HTTP/1.1 " + QByteArray::number(status));
            more.pop_back();
            s.write("GET /api/health" + kHost + basic("office:s3cret") + "\r\n");
            QVERIFY(s.waitForReadyRead(5000) && s.peek(12) == "HTTP/1.1 200");
            break;
        }
        case JobNames: {
            Outbox out(1000);
            for (int i = 0; i < 1000; ++i)
                out.push({Outbox::Kind::State, "knit/JOBS/state", "{\"job\":\"J" + QByteArray::number(i) + "\",\"pieces\":1}", false});
            QVERIFY(send(out));
            QTRY_VERIFY_WITH_TIMEOUT(health(guarded_).value(QLatin1String("dropped")).toInt() >= 1000 - bound, 20000);
            const QJsonArray samples = QJsonDocument::fromJson(guarded_.get("/api/machines/JOBS/samples", basic("office:s3cret")).body)
                                           .object().value(QLatin1String("samples")).toArray();
            QVERIFY(samples.size() <= bound);
            QCOMPARE(samples.size() + health(guarded_).value(QLatin1String("dropped")).toInt(), 1000);
            break;
        }
        case AlarmFlood: {
            // The floor filled with states, then alarm events of machines it has no room for.
            Outbox out(6000);
            for (int i = 1; i < bound; ++i)
                out.push({Outbox::Kind::State, "knit/S" + QByteArray::number(i) + "/state",
                          "{\"job\":\"" + QByteArray(60, 'J') + "\",\"pieces\":1}", false});
            for (int i = 0; i < 300; ++i)
                out.push({Outbox::Kind::Alarm, "knit/A" + QByteArray::number(i) + "/alarm",
                          R"({"event":"raised","type":2,"code":23,"time":"2026-01-01T00:00:00"})", false});
            QVERIFY(send(out));
            QTRY_VERIFY_WITH_TIMEOUT(health(guarded_).value(QLatin1String("ignored")).toInt() >= 300, 30000);
            QCOMPARE(health(guarded_).value(QLatin1String("machines")).toInt(), bound);
            QCOMPARE(guarded_.get("/api/machines/A1/alarms", basic("office:s3cret")).status, 404);
            break;
        }
        case NeverReads: {
            // A page that takes the whole floor (5,000 machines) and never reads a byte of it.
            QTcpSocket page;
            page.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
            // Else Qt reads into the socket's own buffer whenever this test's event loop runs.
            page.setReadBufferSize(4096);
            page.connectToHost(QHostAddress::LocalHost, quint16(guarded_.port()));
            QVERIFY(page.waitForConnected(3000));
            page.write(kUpgrade + basic("office:s3cret") + "Origin: http://127.0.0.1\r\n\r\n");
            // Rounds that arrive between two pushes fold into one message, so on a loaded machine
            // it takes more of them: send until the server closes the page, within the bound.
            for (int round = 0; !serverSaid(guarded_, "over 1 MiB unread") && clock.elapsed() < bound * 1000; ++round) {
                Outbox out(6000);
                for (int i = 1; i < 5000; ++i)
                    out.push({Outbox::Kind::State, "knit/S" + QByteArray::number(i) + "/state",
                              "{\"job\":\"" + QByteArray(60, 'J') + "\",\"pieces\":" + QByteArray::number(round + 2) + "}", false});
                QVERIFY(send(out));
            }
            QVERIFY(serverSaid(guarded_, "over 1 MiB unread"));
            break;
        }
        }
    }

    void refusals_data()
    {
        TestTable::columns<QStringList, QByteArray, int, QString>("args", "authFile", "code", "why");
        const QByteArray hashed = authLine_;
        QTest::addRow("off loopback without logins") << QStringList{"--listen", "0.0.0.0:0", "--insecure-http", "--db", dir_.filePath(QStringLiteral("none.sqlite"))}
                                                     << QByteArray() << 2 << "needs accounts";
        QTest::addRow("off loopback without TLS") << QStringList{"--listen", "0.0.0.0:0"} << hashed << 2 << "needs --cert";
        QTest::addRow("password in the URL") << QStringList{"--db", "postgresql://u:pw@127.0.0.1/fleet"} << QByteArray() << 64 << "no password";
        QTest::addRow("bad shifts") << QStringList{"--shifts", "25:00"} << QByteArray() << 64 << "--shifts";
        QTest::addRow("the same file twice") << QStringList{"--listen", "127.0.0.1:0"} << QByteArray() << 69 << "another knitfleet";
        // The auth file's rules; "0644:" before the lines gives the file that mode.
        QTest::addRow("plain password") << QStringList() << QByteArray("office:s3cret\n") << 65 << "knitfleet passwd";
        QTest::addRow("empty password") << QStringList() << QByteArray("office:\n") << 65 << "empty password";
        QTest::addRow("readable by others") << QStringList() << "0644:" + hashed << 65 << "chmod 600";
        QTest::addRow("over 64 KiB") << QStringList() << "# " + QByteArray(70000, 'x') + "\n" + hashed << 65 << "over 64 KiB";
        QTest::addRow("no login") << QStringList() << QByteArray("# nobody\n") << 65 << "holds no user";
    }

    void refusals()
    {
        auto [args, authFile, code, why] = TestTable::fetch<QStringList, QByteArray, int, QString>("args", "authFile", "code", "why");
        QTemporaryDir dir;
        QStringList all = QStringList{"serve", "--url", broker_.url(), "--db", dir_.filePath(QStringLiteral("fleet.sqlite"))} + args;
        if (!authFile.isEmpty()) {
            QFile f(dir.filePath(QStringLiteral("auth")));
            const bool open = authFile.startsWith("0644:");
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(open ? authFile.mid(5) : authFile) > 0);
            f.setPermissions(open ? QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther
                                  : QFile::ReadOwner | QFile::WriteOwner);
            f.close();
            all << "--auth-file" << f.fileName();
        }
        QProcess p;
        startOwnProgram(p, QStringLiteral(KNITFLEET_PATH), all);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), code);
        const QByteArray err = p.readAllStandardError();
        QVERIFY2(err.split('\n').first().contains(why.toUtf8()), err.constData());
    }

    void alerts()
    {
        // Webhooks (signed, retried, "ended", cooldown) and e-mail through an SMTP sink that
        // requires STARTTLS; then, after SIGHUP, one without STARTTLS, which gets nothing.
        QTemporaryDir dir;
        const QString cert = dir.filePath(QStringLiteral("cert.pem"));
        const QString key = dir.filePath(QStringLiteral("key.pem"));
        if (QProcess::execute(QStringLiteral("/usr/bin/python3"), {"-c", "import aiosmtpd"}) != 0)
            QSKIP("python3-aiosmtpd not found: install it with scripts/setup.sh");
        QCOMPARE(QProcess::execute(QStringLiteral("openssl"), {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=127.0.0.1",
                                                              "-addext", "subjectAltName=IP:127.0.0.1", "-days", "2", "-keyout", key, "-out", cert}), 0);
        HookReceiver hooks;
        QProcess tlsSink, plainSink;
        const int tlsPort = startSink(tlsSink, dir.filePath(QStringLiteral("tls")), {"--tlscert", cert, "--tlskey", key});
        const int plainPort = startSink(plainSink, dir.filePath(QStringLiteral("plain")), {});
        QVERIFY(tlsPort > 0 && plainPort > 0);
        const QString secret = dir.filePath(QStringLiteral("secret"));
        QVERIFY(TestBytes::writeFile(secret, "hook-secret\n"));
        const QString hook = QStringLiteral("http://127.0.0.1:%1").arg(hooks.serverPort());
        const auto rules = [&](int smtpPort, const char *offline) {
            return QStringLiteral("{\"smtp\":{\"url\":\"smtp://127.0.0.1:%1\",\"from\":\"knitfleet@mill.example\",\"cafile\":\"%2\"},"
                                  "\"rules\":[{\"name\":\"stands\",\"when\":\"stop\",\"after_s\":1,\"machines\":\"AL*\",\"webhook\":\"%3/hook\","
                                  "\"secret_file\":\"%4\",\"cooldown_s\":3600},"
                                  "{\"name\":\"again\",\"when\":\"stop\",\"after_s\":1,\"machines\":[\"AL1\"],\"webhook\":\"%3/again\","
                                  "\"cooldown_s\":0},"
                                  "{\"name\":\"gone\",\"when\":\"offline\",\"machines\":\"%5\",\"email\":[\"office@mill.example\"]}]}")
                .arg(smtpPort).arg(cert, hook, secret, QLatin1String(offline)).toUtf8();
        };
        const QString alertsFile = dir.filePath(QStringLiteral("alerts.json"));
        QVERIFY(TestBytes::writeFile(alertsFile, rules(tlsPort, "AL2")));
        FleetServe fleet;
        QVERIFY(fleet.start({"--url", broker_.url(), "--db", dir.filePath(QStringLiteral("f.sqlite")), "--alerts", alertsFile}));
        const auto state = [](bool running) {
            return QStringLiteral(R"({"job":"J","running":%1,"pieces":1,"time":"%2"})")
                .arg(running ? "true" : "false", QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))).toUtf8();
        };
        QVERIFY(broker_.publish("knit/AL1/state", state(false)));
        // Fired, refused with 500, posted again a second later: the same signed body.
        QTRY_COMPARE_WITH_TIMEOUT(hooks.at("/hook", "fired").size(), 2, 15000);
        const HookReceiver::Hit fired = hooks.at("/hook", "fired").last();
        QCOMPARE(hooks.at("/hook", "fired").first().raw, fired.raw);
        QCOMPARE(fired.signature, "sha256=" + QMessageAuthenticationCode::hash(fired.raw, "hook-secret", QCryptographicHash::Sha256).toHex());
        QCOMPARE(fired.body.value(QLatin1String("machine")).toString(), QStringLiteral("AL1"));
        QCOMPARE(fired.body.value(QLatin1String("rule")).toString(), QStringLiteral("stands"));
        // A reason ends it.
        QVERIFY(broker_.publish("knit/AL1/stop", QStringLiteral(R"({"code":7,"planned":true,"since":"%1","text":"休息","time":"%1"})")
                                            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))).toUtf8()));
        QTRY_COMPARE_WITH_TIMEOUT(hooks.at("/hook", "ended").size(), 1, 10000);
        // A new stop: the rule without a cooldown fires again, the one within its cooldown not.
        QVERIFY(broker_.publish("knit/AL1/state", state(true)));
        QVERIFY(broker_.publish("knit/AL1/state", state(false)));
        QTRY_COMPARE_WITH_TIMEOUT(hooks.at("/again", "fired").size(), 2, 10000);
        QCOMPARE(hooks.at("/hook", "fired").size(), 2);
        // Mail over STARTTLS.
        QVERIFY(broker_.publish("knit/AL2/status", "offline"));
        QTRY_VERIFY_WITH_TIMEOUT(!QDir(dir.filePath(QStringLiteral("tls/new"))).isEmpty(QDir::Files), 15000);
        // A server without STARTTLS gets no mail: the send fails and is logged.
        QVERIFY(TestBytes::writeFile(alertsFile, rules(plainPort, "AL3")));
        ::kill(pid_t(fleet.process().processId()), SIGHUP);
        QTRY_VERIFY_WITH_TIMEOUT(serverSaid(fleet, "alert rules read"), 10000);
        QVERIFY(broker_.publish("knit/AL3/status", "offline"));
        QTRY_VERIFY_WITH_TIMEOUT(fleet.get("/api/alerts").body.contains("\"machine\":\"AL3\",\"outcome\":\"failed"), 20000);
        QVERIFY(QDir(dir.filePath(QStringLiteral("plain/new"))).isEmpty(QDir::Files));
        for (QProcess *sink : {&tlsSink, &plainSink})
            endProgram(*sink, 5000);
    }

    void uploads_data()
    {
        TestTable::columns<QByteArray, QByteArray, int, int>("name", "damage", "status", "code");
        QTest::addRow("a good job") << QByteArray("J1") << QByteArray() << 201 << -1;
        QTest::addRow("the same files again: no new version") << QByteArray("J1") << QByteArray() << 200 << -1;
        QTest::addRow("a .cnt with a wrong checksum") << QByteArray("J2") << QByteArray("cnt sum") << 400 << 3;
        QTest::addRow("a .cnt without its checksum") << QByteArray("J2") << QByteArray("cnt cut") << 400 << 2;
        QTest::addRow("a .pat with a wrong checksum") << QByteArray("J2") << QByteArray("pat sum") << 400 << 3;
        QTest::addRow("a short .wrk") << QByteArray("J2") << QByteArray("wrk cut") << 400 << -1;
        QTest::addRow("a name with /") << QByteArray("a/b") << QByteArray() << 400 << -1;
        QTest::addRow("a name ..") << QByteArray("..") << QByteArray() << 400 << -1;
        QTest::addRow("a name with a control character") << QByteArray("J\x01") << QByteArray() << 400 << -1;
        QTest::addRow("a name over 251 bytes") << QByteArray(252, 'N') << QByteArray() << 400 << -1;
        QTest::addRow("no multipart body") << QByteArray() << QByteArray("not multipart") << 400 << -1;
        QTest::addRow("a job many times the read buffer, sent at once") << QByteArray("J4") << QByteArray("big") << 201 << -1;
    }

    // Each upload gets the panel's checks (the failed check's code) and the stick's name rule.
    void uploads()
    {
        auto [name, damage, status, code] = TestTable::fetch<QByteArray, QByteArray, int, int>("name", "damage", "status", "code");
        QVERIFY(startLibrary(dir_.filePath(QStringLiteral("lib.sqlite")), library_));
        QByteArray files[3] = {job_[0], job_[1], job_[2]};
        const int which = damage.startsWith("cnt") ? 0 : damage.startsWith("pat") ? 1 : 2;
        if (damage.endsWith("sum"))
            files[which][files[which].size() - 1] = char(files[which].back() + 1);
        else if (damage.endsWith("cut"))
            files[which].chop(which == 0 ? 1 : 2);
        else if (damage == "big")
            QVERIFY(bigJob(name, files));
        const FleetServe::Reply r = upload(library_, librarySigned_[0], name, files, damage == "not multipart");
        QVERIFY2(r.status == status, r.body.constData());
        const QJsonObject o = QJsonDocument::fromJson(r.body).object();
        if (code >= 0)
            QCOMPARE(o.value(QLatin1String("code")).toInt(-1), code);
        if (status < 300)
            QCOMPARE(o.value(QLatin1String("version")).toInt(), 1);
    }

    void library_data() { databases(); }

    // A version waits for another supervisor's approval and only then reaches a machine's token,
    // which opens nothing else and is refused once revoked or past its rate; files come back as
    // uploaded and never once their stored bytes no longer match their digest; an upload
    // without the database is 503; knitjob push logs in as the page does.
    void library()
    {
        auto [postgres] = TestTable::fetch<bool>("postgres");
        QString why;
        bool skip = false;
        const QString db = database(postgres, "flow.sqlite", &skip, &why);
        if (skip)
            QSKIP(qPrintable(why));
        QVERIFY2(!db.isEmpty(), qPrintable(why));
        FleetServe fleet;
        QVERIFY(startLibrary(db, fleet));
        QCOMPARE(command({"machine", "add", "M-1", "--db", db}, {}), 0);
        const QByteArray machine = "Authorization: Bearer " + userOutput_.trimmed() + "\r\n";
        QCOMPARE(upload(fleet, librarySigned_[0], "J1", job_).status, 201);
        // A machine gets a version once it is released, and nothing but the list and its files.
        QCOMPARE(fleet.get("/api/library/J1/1/J1.cnt", machine).status, 404);
        const QByteArray approve = "POST /api/library/J1/1/approve" + kHost + "X-CSRF-Token: ";
        QCOMPARE(fleet.request(approve + librarySigned_[0].csrf + "\r\n" + librarySigned_[0].headers + "\r\n").status, 403);
        QCOMPARE(fleet.request(approve + librarySigned_[1].csrf + "\r\n" + librarySigned_[1].headers + "\r\n").status, 200);
        // Assigned, a released version is offered retained to a known machine; the panel's load
        // shows on its tile and in the audit.
        const auto assign = [&](const QByteArray &id, const QByteArray &body) {
            return fleet.request("POST /api/machines/" + id + "/job" + kHost + librarySigned_[0].headers + "X-CSRF-Token: "
                                 + librarySigned_[0].csrf + (body.startsWith('{') ? "" : "\r\nContent-Type: application/x-www-form-urlencoded")
                                 + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body).status;
        };
        QCOMPARE(upload(fleet, librarySigned_[0], "J2", job_).status, 201);
        QCOMPARE(assign("M-1", "{\"job\":\"J2\",\"version\":1}"), 409);
        QCOMPARE(assign("M-1", "{\"job\":\"J1\",\"version\":2}"), 404);
        QCOMPARE(assign("M-1", "{\"job\":\"J1\",\"version\":1}"), 200);
        QByteArray offer;
        QTRY_VERIFY_WITH_TIMEOUT(!(offer = broker_.retained(QStringLiteral("knit/M-1/offer"))).isEmpty(), 10000);
        QVERIFY2(QRegularExpression(QStringLiteral("^\\{\"by\":\"sup1\",\"job\":\"J1\",\"sha256\":\\{\"cnt\":\"%1\",\"pat\":\"%2\",\"wrk\":\"%3\"\\},"
                                                   "\"time\":\"[-0-9]+T[:0-9]+\",\"version\":1\\}$").arg(QString::fromLatin1(sha256(job_[0])),
                                                   QString::fromLatin1(sha256(job_[1])), QString::fromLatin1(sha256(job_[2])))).match(QString::fromUtf8(offer)).hasMatch(),
                 offer.constData());
        QVERIFY(broker_.publish(QStringLiteral("knit/M-1/state"), "{\"job\":\"J1\",\"running\":true}"));
        QVERIFY(broker_.publish(QStringLiteral("knit/M-1/job"), "{\"event\":\"loaded\",\"job\":\"J1\",\"source\":\"library\",\"time\":\"2026-12-09T10:00:00\",\"version\":1}"));
        QTRY_VERIFY_WITH_TIMEOUT(fleet.get("/api/machines", librarySigned_[1].headers).body.contains("\"version\":1"), 10000);
        QCOMPARE(assign("M-1", "job=&version=0"), 200);
        QTRY_VERIFY_WITH_TIMEOUT(broker_.retained(QStringLiteral("knit/M-1/offer")).isEmpty(), 10000);
        QCOMPARE(fleet.get("/api/library/J1/1/J1.cnt", machine).body, job_[0]);
        QCOMPARE(QJsonDocument::fromJson(fleet.get("/api/library", machine).body).object().value(QLatin1String("jobs")).toArray()
                     .at(0).toObject().value(QLatin1String("sha256")).toObject().value(QLatin1String("cnt")).toString(),
                 QString::fromLatin1(sha256(job_[0])));
        QCOMPARE(fleet.get("/api/machines", machine).status, 403);
        QCOMPARE(fleet.get("/api/library", "Authorization: Bearer wrong\r\n").status, 401);
        const QJsonObject v = QJsonDocument::fromJson(fleet.get("/api/library", librarySigned_[1].headers).body)
                                  .object().value(QLatin1String("names")).toArray().at(0).toObject()
                                  .value(QLatin1String("versions")).toArray().at(0).toObject();
        QCOMPARE(v.value(QLatin1String("state")).toString(), QStringLiteral("released"));
        QCOMPARE(v.value(QLatin1String("files")).toObject().value(QLatin1String("pat")).toString(), QString::fromLatin1(sha256(job_[1])));
        QCOMPARE(fleet.get("/api/library/J1/1/J1.pat", librarySigned_[1].headers).body, job_[1]);
        QVERIFY(fleet.get("/api/library/J1/1/preview.png", librarySigned_[1].headers).body.startsWith("\x89PNG\r\n"));
        // A stored file changed behind the server's back is not served.
        {
            DbTarget target;
            DbTarget::parse(db, &target, &why);
            FleetDb direct(target);
            QVERIFY(direct.open(&why));
            QSqlQuery q(direct.db());
            const auto audited = [&q] {
                return q.exec(QStringLiteral("SELECT COUNT(*) FROM audit WHERE machine = 'M-1' AND action IN ('job-assign', 'job-loaded')"))
                    && q.next() && q.value(0).toInt() >= 3;
            };
            QTRY_VERIFY_WITH_TIMEOUT(audited(), 20000);
            q.prepare(QStringLiteral("UPDATE library_blobs SET data = ? WHERE sha256 = ?"));
            q.addBindValue(job_[0] + 'x');
            q.addBindValue(QString::fromLatin1(sha256(job_[0])));
            QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        }
        const FleetServe::Reply damaged = fleet.get("/api/library/J1/1/J1.cnt", librarySigned_[1].headers);
        QCOMPARE(damaged.status, 500);
        QVERIFY(!damaged.body.contains(job_[0].left(64)));
        QCOMPARE(command({"machine", "revoke", "M-1", "--db", db}, {}), 0);
        QCOMPARE(fleet.get("/api/library", machine).status, 401);
        if (postgres) {
            QVERIFY(pg_.stop());
            QCOMPARE(upload(fleet, librarySigned_[0], "J3", job_).status, 503);
            QVERIFY2(pg_.start(&why), qPrintable(why));
            return;
        }
        QProcess push;
        startOwnProgram(push, QStringLiteral(KNITJOB_PATH), {"push", fleet.url(), jobDir_, "--user", "sup2", "--password-file",
                                                             dir_.filePath(QStringLiteral("sup2.pw")), "--comment", "wider"});
        QVERIFY(push.waitForFinished(30000));
        QCOMPARE(push.exitCode(), 0);
        QCOMPARE(push.readAllStandardOutput(), QByteArray("J1 version 1 (the same files as before)\n"));
        // A token's 61st request within a minute waits.
        QCOMPARE(command({"machine", "add", "M-2", "--db", db}, {}), 0);
        const QByteArray second = "Authorization: Bearer " + userOutput_.trimmed() + "\r\n";
        for (int i = 0; i < 60; ++i)
            QCOMPARE(fleet.get("/api/library", second).status, 200);
        QCOMPARE(fleet.get("/api/library", second).status, 429);
    }

    void https()
    {
        QTemporaryDir dir;
        const QString cert = dir.filePath(QStringLiteral("cert.pem"));
        const QString key = dir.filePath(QStringLiteral("key.pem"));
        if (QProcess::execute(QStringLiteral("openssl"), {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=127.0.0.1",
                                                         "-days", "2", "-keyout", key, "-out", cert}) != 0)
            QSKIP("openssl not found: install it with scripts/setup.sh");
        FleetServe fleet;
        QCOMPARE(user({"add", "boss", "--role", "admin", "--db", dir.filePath(QStringLiteral("f.sqlite"))}, "b055\n"), 0);
        QVERIFY(fleet.start({"--url", broker_.url(), "--db", dir.filePath(QStringLiteral("f.sqlite")), "--cert", cert, "--key", key}));
        QSslSocket s;
        s.setPeerVerifyMode(QSslSocket::VerifyNone);
        s.connectToHostEncrypted(QStringLiteral("127.0.0.1"), quint16(fleet.port()));
        QVERIFY2(s.waitForEncrypted(5000), qPrintable(s.errorString()));
        // The session's cookie is sent back over HTTPS only.
        s.write("POST /login HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/x-www-form-urlencoded\r\n"
                "Content-Length: 23\r\n\r\nuser=boss&password=b055");
        QTRY_VERIFY_WITH_TIMEOUT((s.waitForReadyRead(100), s.peek(12).startsWith("HTTP/1.1 303")), 10000);
        QVERIFY(s.peek(2000).contains("Strict-Transport-Security: max-age="));
        QVERIFY(s.peek(2000).contains("; HttpOnly; SameSite=Strict; Secure\r\n"));
        // Plain HTTP on the TLS port is not served.
        QCOMPARE(fleet.get("/api/health").status, 0);
    }

private:
    struct Signed
    {
        QByteArray headers; // the Cookie line
        QByteArray csrf;
    };
    // The server with accounts (boss: admin, eve: viewer) and the auth file, started once.
    bool startAccounts()
    {
        if (accounts_.port() != 0)
            return true;
        const QString db = dir_.filePath(QStringLiteral("a.sqlite"));
        return user({"add", "boss", "--role", "admin", "--db", db}, "b055\n") == 0
            && user({"add", "eve", "--role", "viewer", "--db", db}, "3ve\n") == 0
            && accounts_.start({"--url", broker_.url(), "--db", db, "--auth-file", auth_});
    }
    static FleetServe::Reply login(const FleetServe &fleet, const QByteArray &user, const QByteArray &password)
    {
        const QByteArray form = "user=" + user + "&password=" + password;
        return fleet.request("POST /login" + kHost + "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: "
                             + QByteArray::number(form.size()) + "\r\n\r\n" + form);
    }
    // The Cookie line for a login's reply; empty without a session.
    static QByteArray jarOf(const FleetServe::Reply &r)
    {
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Set-Cookie: (knitfleet_session=[^;]+);")).match(QString::fromLatin1(r.head));
        return m.hasMatch() ? "Cookie: " + m.captured(1).toLatin1() + "\r\n" : QByteArray();
    }
    // A session of the role's account, made once.
    Signed signIn(const QByteArray &role)
    {
        if (role.isEmpty() || signed_.contains(role))
            return signed_.value(role);
        const FleetServe::Reply r = login(accounts_, role == "admin" ? "boss" : "eve", role == "admin" ? "b055" : "3ve");
        const QByteArray jar = jarOf(r);
        const QByteArray csrf = QJsonDocument::fromJson(accounts_.get("/api/session", jar).body).object().value(QLatin1String("csrf")).toString().toLatin1();
        if (!jar.isEmpty())
            signed_.insert(role, {jar, csrf});
        return signed_.value(role);
    }
    // knitfleet user with the password on standard input; its exit code, its output kept.
    int user(const QStringList &args, const QByteArray &input) { return command(QStringList{"user"} + args, input); }
    int command(const QStringList &args, const QByteArray &input)
    {
        QProcess p;
        startOwnProgram(p, QStringLiteral(KNITFLEET_PATH), args);
        p.write(input);
        p.closeWriteChannel();
        const bool done = p.waitForFinished(30000);
        userOutput_ = p.readAllStandardOutput();
        return done ? p.exitCode() : -1;
    }
    static void databases()
    {
        TestTable::columns<bool>("postgres");
        QTest::addRow("sqlite") << false;
        QTest::addRow("postgresql") << true;
    }
    // A row's database: a file in the test's folder or the throwaway cluster (started once);
    // empty with why (and *skip without PostgreSQL) otherwise.
    QString database(bool postgres, const char *file, bool *skip, QString *why)
    {
        *skip = postgres && !PostgresProcess::available(why);
        if (*skip || (postgres && pg_.port() == 0 && !pg_.start(why)))
            return QString();
        return postgres ? pg_.url() : dir_.filePath(QLatin1String(file));
    }
    // A server with --require-approval on the database and two supervisors signed in to it; the
    // job's files (knitjob make) once.
    bool startLibrary(const QString &db, FleetServe &fleet)
    {
        if (fleet.port() != 0)
            return true;
        jobDir_ = dir_.filePath(QStringLiteral("J1"));
        if (job_[0].isEmpty() && QProcess::execute(QStringLiteral(KNITJOB_PATH), {"make", "J1", "--dir", dir_.path()}) == 0) {
            for (int i = 0; i < 3; ++i) {
                QFile f(jobDir_ + QStringLiteral("/J1.") + QLatin1String(std::array{"cnt", "pat", "wrk"}[std::size_t(i)]));
                job_[i] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
            }
            QFile pw(dir_.filePath(QStringLiteral("sup2.pw")));
            pw.open(QIODevice::WriteOnly);
            pw.write("5up2\n");
        }
        const bool up = user({"add", "sup1", "--role", "supervisor", "--db", db}, "5up1\n") == 0
                     && user({"add", "sup2", "--role", "supervisor", "--db", db}, "5up2\n") == 0
                     && fleet.start({"--url", broker_.url(), "--db", db, "--require-approval"});
        for (int i = 0; up && i < 2; ++i) {
            librarySigned_[i].headers = jarOf(login(fleet, i == 0 ? "sup1" : "sup2", i == 0 ? "5up1" : "5up2"));
            librarySigned_[i].csrf = QJsonDocument::fromJson(fleet.get("/api/session", librarySigned_[i].headers).body)
                                         .object().value(QLatin1String("csrf")).toString().toLatin1();
        }
        return up && !job_[2].isEmpty() && !librarySigned_[1].csrf.isEmpty();
    }
    // POST /api/library as the page sends it: name and the three files, multipart.
    static FleetServe::Reply upload(const FleetServe &fleet, const Signed &who, const QByteArray &name, const QByteArray files[3],
                                    bool plain = false)
    {
        QByteArray body = "--b0undary\r\nContent-Disposition: form-data; name=\"name\"\r\n\r\n" + name + "\r\n";
        for (int i = 0; i < 3; ++i) {
            const QByteArray ext = std::array{"cnt", "pat", "wrk"}[std::size_t(i)];
            body += "--b0undary\r\nContent-Disposition: form-data; name=\"" + ext + "\"; filename=\"" + name + '.' + ext
                  + "\"\r\nContent-Type: application/octet-stream\r\n\r\n" + files[i] + "\r\n";
        }
        body += "--b0undary--\r\n";
        return fleet.request("POST /api/library" + kHost + who.headers + "X-CSRF-Token: " + who.csrf + "\r\nContent-Type: "
                             + (plain ? "text/plain" : "multipart/form-data; boundary=b0undary") + "\r\nContent-Length: "
                             + QByteArray::number(body.size()) + "\r\n\r\n" + body, 15000);
    }
    // A job of some 300 KiB: its files, made by knitjob.
    bool bigJob(const QByteArray &name, QByteArray files[3])
    {
        if (QProcess::execute(QStringLiteral(KNITJOB_PATH), {"make", QString::fromLatin1(name), "--dir", dir_.path(), "--width", "1024",
                                                            "--height", "600"}) != 0)
            return false;
        for (int i = 0; i < 3; ++i) {
            QFile f(dir_.filePath(QString::fromLatin1(name + '/' + name + '.' + std::array{"cnt", "pat", "wrk"}[std::size_t(i)])));
            files[i] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }
        return files[1].size() > 256 * 1024;
    }
    static QByteArray sha256(const QByteArray &data) { return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex(); }
    static QByteArray storedHash(const QString &database, const QByteArray &name)
    {
        DbTarget target;
        QString why;
        DbTarget::parse(database, &target, &why);
        FleetDb db(target);
        QList<UserStore::Account> accounts;
        if (!db.open(&why) || !UserStore::list(db.db(), &accounts, &why))
            return why.toUtf8();
        const auto it = std::find_if(accounts.cbegin(), accounts.cend(), [&](const UserStore::Account &a) { return a.name == name; });
        return it == accounts.cend() ? QByteArray() : it->hash;
    }
    // The audit's rows as "action user", newest first.
    static QStringList audited(const QString &database)
    {
        DbTarget target;
        QString why;
        DbTarget::parse(database, &target, &why);
        FleetDb db(target);
        QList<AuditLog::Entry> entries;
        bool more = false;
        if (!db.open(&why) || !AuditLog::read(db.db(), {0, std::numeric_limits<qint64>::max(), {}, {}, {}}, &entries, &more))
            return {why};
        QStringList out;
        for (const AuditLog::Entry &e : entries)
            out.append(e.action + QLatin1Char(' ') + e.user);
        return out;
    }
    // An SMTP sink (python3-aiosmtpd) delivering into the maildir it makes; its port, once it
    // answers.
    static int startSink(QProcess &sink, const QString &maildir, const QStringList &tls)
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        const int port = probe.serverPort();
        probe.close();
        sink.start(QStringLiteral("/usr/bin/python3"), QStringList{"-m", "aiosmtpd", "-n", "-l", QStringLiteral("127.0.0.1:%1").arg(port)}
                                                           + tls + QStringList{"-c", "aiosmtpd.handlers.Mailbox", maildir});
        const bool up = QTest::qWaitFor([port] {
            QTcpSocket s;
            s.connectToHost(QHostAddress::LocalHost, quint16(port));
            return s.waitForConnected(200);
        }, 10000);
        return up ? port : 0;
    }
    // The server with logins, started once: true once it takes the right login.
    bool startGuarded()
    {
        return guarded_.port() != 0
            || (guarded_.start({"--url", broker_.url(), "--db", dir_.filePath(QStringLiteral("g.sqlite")), "--auth-file", auth_})
                && QTest::qWaitFor([this] { return guarded_.get("/api/health", basic("office:s3cret")).status == 200; }, 15000));
    }
    static QByteArray basic(const QByteArray &login) { return "Authorization: Basic " + login.toBase64() + "\r\n"; }
    // Sets a login with knitfleet passwd; the file's line is kept for the refusals.
    bool passwd(QString &file, const char *user, const char *password)
    {
        file = dir_.filePath(QStringLiteral("auth"));
        QProcess p;
        startOwnProgram(p, QStringLiteral(KNITFLEET_PATH), {"passwd", file, QString::fromLatin1(user)});
        p.write(QByteArray(password) + '\n');
        p.closeWriteChannel();
        QFile f(file);
        const bool ok = p.waitForFinished(30000) && p.exitCode() == 0 && f.open(QIODevice::ReadOnly);
        authLine_ = f.readAll();
        return ok && f.permissions() == (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    }
    bool send(Outbox &out) { return sendOutbox(broker_.url(), out, "test-panels"); }
    static QByteArray readUntilClosed(QTcpSocket &s, int ms)
    {
        QByteArray all;
        const QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired() && s.state() == QAbstractSocket::ConnectedState)
            if (s.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
                all += s.readAll();
        return all + s.readAll();
    }
    static bool serverSaid(FleetServe &fleet, const char *text)
    {
        fleet.process().waitForReadyRead(200);
        static QHash<const FleetServe *, QByteArray> err;
        err[&fleet] += fleet.process().readAllStandardError();
        return err[&fleet].contains(text);
    }
    static QJsonObject health(const FleetServe &fleet)
    {
        return QJsonDocument::fromJson(fleet.get("/api/health", basic("office:s3cret")).body).object();
    }

    QTemporaryDir dir_;
    BrokerProcess broker_;
    FleetServe fleet_;
    FleetServe guarded_;
    FleetServe accounts_;
    PostgresProcess pg_;
    QHash<QByteArray, Signed> signed_;
    QByteArray userOutput_;
    FleetServe library_;
    Signed librarySigned_[2]; // sup1, sup2 of the last library server started
    QByteArray job_[3];       // J1's .cnt, .pat and .wrk
    QString jobDir_;
    QString auth_;
    QByteArray authLine_;
};

QTEST_GUILESS_MAIN(TestDashboardServer)
#include "test_dashboard_server.moc"
