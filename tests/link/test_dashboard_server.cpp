// knitfleet serve as a program, with a real mosquitto. Faults caught: a method other than GET,
// a path with "..", an oversized request head or a bad query answered as if fine; a missing
// Content-Security-Policy; CSV without its byte-order mark or with a formula cell; a login
// refused at once (guessing made cheap) or a right one refused; a listen address off loopback
// started without logins, a password in the database URL accepted, a second knitfleet on the
// same file; bad payloads recorded or not counted.
#include "brokerprocess.h"
#include "fleetserve.h"
#include "testtable.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QElapsedTimer>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>

class TestDashboardServer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QString why;
        if (!BrokerProcess::available(&why))
            QSKIP(qPrintable(why));
        if (!FleetServe::built(&why))
            QSKIP(qPrintable(why));
        QVERIFY2(broker_.start(&why), qPrintable(why));
        QVERIFY(fleet_.start({"--url", broker_.url(), "--db", dir_.filePath(QStringLiteral("fleet.sqlite"))}));
    }

    void access_data()
    {
        TestTable::columns<QByteArray, int>("request", "status");
        const QByteArray host = " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
        QTest::addRow("the floor page") << "GET /" + host + "\r\n" << 200;
        QTest::addRow("POST") << "POST /api/health" + host + "Content-Length: 2\r\n\r\n{}" << 405;
        QTest::addRow("..") << "GET /static/../dashboardserver.cpp" + host + "\r\n" << 400;
        QTest::addRow("encoded ..") << "GET /static/%2e%2e/%2e%2e/etc/passwd" + host + "\r\n" << 400;
        QTest::addRow("unknown API") << "GET /api/nothing" + host + "\r\n" << 404;
        QTest::addRow("bad time") << "GET /api/shifts?from=yesterday" + host + "\r\n" << 400;
        QTest::addRow("span backwards") << "GET /api/alarms/pareto?from=2026-02-01&to=2026-01-01" + host + "\r\n" << 400;
        QTest::addRow("unknown machine") << "GET /api/machines/NOPE/samples" + host + "\r\n" << 404;
        QTest::addRow("bad format") << "GET /api/machines?format=xml" + host + "\r\n" << 400;
        QTest::addRow("head over 16 KiB") << "GET /" + host + "X-Big: " + QByteArray(17 * 1024, 'a') + "\r\n\r\n" << 431;
    }

    void access()
    {
        auto [request, status] = TestTable::fetch<QByteArray, int>("request", "status");
        const FleetServe::Reply r = fleet_.request(request);
        QCOMPARE(r.status, status);
        if (status != 431)
            QVERIFY2(r.head.contains("Content-Security-Policy: default-src 'self'"), r.head.constData());
        if (status >= 400 && status != 431)
            QVERIFY(QJsonDocument::fromJson(r.body).object().contains(QLatin1String("error")));
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
                                                         {"knit/B1/state", good}};
        for (const auto &m : messages)
            QVERIFY(broker_.publish(m.first, m.second));
        QTRY_COMPARE_WITH_TIMEOUT(health().value(QLatin1String("machines")).toInt(), 1, 10000);
        QTRY_COMPARE(health().value(QLatin1String("ignored")).toInt(), 7);
        const FleetServe::Reply csv = fleet_.get("/api/machines?format=csv");
        QCOMPARE(csv.status, 200);
        QVERIFY(csv.body.startsWith("\xEF\xBB\xBFmachine,state,"));
        QVERIFY2(csv.body.contains("\"'=HYPERLINK(1)\""), csv.body.constData());
    }

    void login()
    {
        QTemporaryDir dir;
        QFile auth(dir.filePath(QStringLiteral("auth")));
        QVERIFY(auth.open(QIODevice::WriteOnly) && auth.write("office:s3cret\n") > 0);
        auth.close();
        FleetServe fleet;
        QVERIFY(fleet.start({"--url", broker_.url(), "--db", dir.filePath(QStringLiteral("f.sqlite")), "--auth-file", auth.fileName()}));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(fleet.get("/api/health").status, 401);
        QVERIFY(clock.elapsed() >= 900);
        QCOMPARE(fleet.get("/api/health", "Authorization: Basic " + QByteArray("office:wrong").toBase64() + "\r\n").status, 401);
        QCOMPARE(fleet.get("/api/health", "Authorization: Basic " + QByteArray("office:s3cret").toBase64() + "\r\n").status, 200);
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
        QVERIFY(fleet.start({"--url", broker_.url(), "--db", dir.filePath(QStringLiteral("f.sqlite")), "--cert", cert, "--key", key}));
        QSslSocket s;
        s.setPeerVerifyMode(QSslSocket::VerifyNone);
        s.connectToHostEncrypted(QStringLiteral("127.0.0.1"), quint16(fleet.port()));
        QVERIFY2(s.waitForEncrypted(5000), qPrintable(s.errorString()));
        s.write("GET /api/health HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
        QTRY_VERIFY((s.waitForReadyRead(100), s.peek(12).startsWith("HTTP/1.1 200")));
        // Plain HTTP on the TLS port is not served.
        QCOMPARE(fleet.get("/api/health").status, 0);
    }

    void refusals_data()
    {
        TestTable::columns<QStringList, int, QString>("args", "code", "why");
        QTest::addRow("off loopback without logins") << QStringList{"--listen", "0.0.0.0:0"} << 2 << "needs --auth-file";
        QTest::addRow("password in the URL") << QStringList{"--db", "postgresql://u:pw@127.0.0.1/fleet"} << 64 << "no password";
        QTest::addRow("bad shifts") << QStringList{"--shifts", "25:00"} << 64 << "--shifts";
        QTest::addRow("the same file twice") << QStringList{"--listen", "127.0.0.1:0"} << 69 << "another knitfleet";
    }

    void refusals()
    {
        auto [args, code, why] = TestTable::fetch<QStringList, int, QString>("args", "code", "why");
        QProcess p;
        startOwnProgram(p, QStringLiteral(KNITFLEET_PATH),
                        QStringList{"serve", "--url", broker_.url(), "--db", dir_.filePath(QStringLiteral("fleet.sqlite"))} + args);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), code);
        const QByteArray err = p.readAllStandardError();
        QVERIFY2(err.split('\n').first().contains(why.toUtf8()), err.constData());
    }

private:
    QJsonObject health()
    {
        return QJsonDocument::fromJson(fleet_.get("/api/health").body).object();
    }

    QTemporaryDir dir_;
    BrokerProcess broker_;
    FleetServe fleet_;
};

QTEST_GUILESS_MAIN(TestDashboardServer)
#include "test_dashboard_server.moc"
