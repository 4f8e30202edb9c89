// The telemetry's MQTT client against a real mosquitto. Faults caught: a refused login that is
// not marked as such, retried without back-off, or that prints the password; a wrong password
// kept after the right one is set (no online status); back-off that does not wait 1 s, 2 s,
// 4 s between attempts at a broker that is down.
#include "brokerprocess.h"

#include "telemetry/mqttclient.h"
#include "telemetry/telemetry.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTemporaryFile>
#include <QTest>

#include <mutex>
#include <unistd.h>

class TestTelemetryBroker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QString why;
        if (!BrokerProcess::available(&why))
            QSKIP(qPrintable(why));
        broker_.setLogin(QStringLiteral("panel"), QStringLiteral("s3cret"));
        QVERIFY2(broker_.start(&why), qPrintable(why));
    }

    void login()
    {
        TelemetryConfig c;
        QVERIFY(BrokerUrl::parse(broker_.url(), &c.url, nullptr));
        c.machine = QStringLiteral("L1");
        c.username = "panel";
        // What the panel prints goes to stderr: catch it.
        QTemporaryFile err;
        QVERIFY(err.open());
        const int saved = ::dup(2);
        ::dup2(err.handle(), 2);
        for (const QByteArray &password : {QByteArray("wr0ng-pw"), QByteArray("s3cret")}) {
            c.password = password;
            Telemetry t(c, [] { return TelemetryMessages::State(); });
            const LinkState expected = password == "s3cret" ? LinkState::Online : LinkState::Refused;
            QTRY_COMPARE_WITH_TIMEOUT(int(t.link()), int(expected), 5000);
        }
        std::fflush(stderr);
        ::dup2(saved, 2);
        ::close(saved);
        QFile file(err.fileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray printed = file.readAll();
        QVERIFY2(printed.contains("not authorised"), printed.constData());
        QVERIFY(!printed.contains("wr0ng-pw") && !printed.contains("s3cret"));
        QCOMPARE(broker_.retained(QStringLiteral("knit/L1/status")), QByteArray("offline"));
    }

    void backoffWhileDown()
    {
        QList<qint64> at;
        QStringList whys;
        std::mutex m;
        QElapsedTimer clock;
        clock.start();
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        MqttClient::Options o;
        QVERIFY(BrokerUrl::parse(QStringLiteral("mqtt://127.0.0.1:%1").arg(closed.serverPort()), &o.url, nullptr));
        closed.close();
        MqttClient client(o, {[&](LinkState, const QString &why) {
                                  std::lock_guard<std::mutex> lock(m);
                                  at << clock.elapsed();
                                  whys << why;
                              },
                              nullptr, nullptr});
        client.start();
        QTest::qWait(3500);
        client.stop();
        std::lock_guard<std::mutex> lock(m);
        QCOMPARE(whys.size(), 3);
        QVERIFY2(whys[2].endsWith(QLatin1String("trying again in 4 s")), qPrintable(whys.join(QLatin1Char('|'))));
        QVERIFY2(qAbs(at[1] - at[0] - 1000) < 300 && qAbs(at[2] - at[1] - 2000) < 300, qPrintable(QString::number(at[2])));
    }

private:
    BrokerProcess broker_;
};

QTEST_GUILESS_MAIN(TestTelemetryBroker)
#include "test_telemetry_broker.moc"
