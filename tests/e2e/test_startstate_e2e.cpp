// knitpanel's first screen against knitsim, telling what the machine does: started while knitsim
// already knits, and started with no controller answering. Faults caught: a panel that shows
// "stopped" until the next start report while the carriage runs (start-up's status query
// ignored), telemetry that says stopped meanwhile; a black screen during start-up's waits, a
// wait whose progress stands still, Escape that does not give a fetch up, a panel that does not
// go on after the connection message, an absent controller taken for a stopped machine (no
// offline look, no "controller":"offline"), a controller that comes back unnoticed. Leaves the
// guide's pictures of the start picture.
#include "brokerprocess.h"
#include "panelfixture.h"

#include "platform/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <functional>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The running indicator "PL.WK" in the bottom band.
const QRect kIndicator(QPoint(552, 367), QPoint(628, 388));
// The job's box beside it, light on the main screen (the start picture has no such box).
const QRect kJobBox(QPoint(325, 368), QPoint(545, 410));
// The middle of the screen, the start picture's while start-up runs.
const QRect kMiddle(QPoint(10, 100), QPoint(630, 350));
// The transfer window's status line, centred over it.
const QRect kTransferLine(QPoint(135, 195), QPoint(485, 222));

bool blue(const QColor &c)
{
    return c.blue() > 150 && c.red() < 150 && c.green() < 100;
}

bool black(const QColor &c)
{
    return c.lightness() < 10;
}

bool light(const QColor &c)
{
    return c.lightness() > 200;
}

} // namespace

class TestStartStateE2e : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        BROKER_START(broker_, XServer::available(&why));
        QString why;
        QVERIFY2(f_.prepare({{QStringLiteral("S1"), 400, 100, 100}}, &why), qPrintable(why));
        QVERIFY(AtomicFile::save(f_.file(QStringLiteral("/mnt/ide/knit/telemetry.ini")),
                                 QStringLiteral("[mqtt]\nurl = %1\nmachine = S1\ninterval_ms = 300\n").arg(broker_.url()).toUtf8()));
    }

    // knitsim knits before the panel starts: the first screen says so, and so does telemetry.
    void knittingAtStart()
    {
        QVERIFY(QFile::copy(f_.file(QStringLiteral("/mnt/ide/knit/wave/S1/S1.cnt")), f_.sim().file(QStringLiteral("S1.cnt"))));
        QVERIFY(f_.sim().command(QStringLiteral("set job S1")) && f_.sim().command(QStringLiteral("set knt 29 1")));
        QVERIFY(f_.sim().command(QStringLiteral("set speed 1")) && f_.sim().command(QStringLiteral("start S1")));
        QVERIFY(f_.startPanel());
        QVERIFY(f_.sim().waitFor(QStringLiteral("cmd 26"), 20000));
        f_.x().pictureWhen("startstate-knitting", [](const QImage &i) { return countPixels(i, kIndicator, isRed) > 20; });
        QTRY_VERIFY_WITH_TIMEOUT(state().value(QLatin1String("running")) == true, 10000);
        QCOMPARE(state().value(QLatin1String("controller")).toString(), QStringLiteral("online"));
        f_.panel().stop();
        QVERIFY(f_.sim().command(QStringLiteral("stop")));
    }

    // KNIT_EXIT_AFTER_START=1 ends the panel with status 0 once its main screen is drawn, after
    // the whole exchange; any other value leaves the panel running.
    void exitAfterStart_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addRow("1") << QStringLiteral("1");
        QTest::addRow("yes") << QStringLiteral("yes");
    }
    void exitAfterStart()
    {
        QFETCH(QString, value);
        QProcessEnvironment env;
        env.insert(QStringLiteral("KNIT_EXIT_AFTER_START"), value);
        QVERIFY(f_.startPanel(env));
        int code = -1;
        if (value == QLatin1String("1")) {
            QVERIFY(f_.panel().ended(20000, &code));
            QCOMPARE(code, 0);
            QVERIFY(f_.sim().waitFor(QStringLiteral("cmd 26"), 0));
            return;
        }
        QVERIFY(f_.sim().waitFor(QStringLiteral("cmd 26"), 20000));
        // The main screen follows the exchange's last command; proving it stays takes a while.
        QVERIFY(!f_.panel().ended(1000, &code));
        f_.panel().stop();
    }

    // No answer: the start picture under the wait, the attempts counted; Escape gives the fetch
    // up; then offline until the controller answers the status query again.
    void noController()
    {
        // Neither replies nor reports, though knitsim still journals what it receives.
        QVERIFY(f_.sim().command(QStringLiteral("fault silent")) && f_.sim().command(QStringLiteral("fault silent-after 0"))
                && f_.sim().command(QStringLiteral("fault loss 100 report")));
        QVERIFY(f_.startPanel());
        QVERIFY(f_.sim().waitFor(QStringLiteral("RRQ file.sys"), 10000));
        // The start picture under the transfer window, whose line counts the seconds.
        const QImage first = f_.x().pictureWhen("startstate-waiting", [](const QImage &i) {
            return countPixels(i, kMiddle, black) < kMiddle.width() * kMiddle.height() / 2
                   && countPixels(i, kTransferLine, blue) > 50;
        });
        f_.x().pictureWhen("startstate-waiting2", [&](const QImage &i) { return i.copy(kTransferLine) != first.copy(kTransferLine); });
        // The fetch given up: the connection message (closed by Return) after fewer than eleven
        // requests, then the closing commands.
        QVERIFY(f_.waitForWindow(PanelFixture::kMain) && f_.walk({"Escape>MessageDialog", "Return>MainScreen"}));
        QVERIFY(f_.sim().waitFor(QStringLiteral("cmd 20"), 10000) && f_.sim().waitFor(QStringLiteral("cmd 26"), 10000));
        QVERIFY(f_.sim().traffic().count(QStringLiteral("RRQ file.sys")) < 11);
        QVERIFY(!f_.sim().traffic().contains(QStringLiteral("RRQ config.cfg")));
        f_.x().pictureWhen("startstate-offline", [](const QImage &i) {
            return countPixels(i, kJobBox, light) > kJobBox.width() * kJobBox.height() / 2
                   && countPixels(i, kIndicator, light) < kIndicator.width() * kIndicator.height() / 2;
        });
        QTRY_COMPARE_WITH_TIMEOUT(state().value(QLatin1String("controller")).toString(), QStringLiteral("offline"), 10000);
        QCOMPARE(state().value(QLatin1String("running")), QJsonValue(false));

        // Asked every 5 s meanwhile; back when it answers (its reports still lost).
        QVERIFY(f_.sim().command(QStringLiteral("journal clear")));
        QVERIFY(f_.sim().waitFor(QStringLiteral("cmd 26"), 8000));
        QVERIFY(f_.sim().command(QStringLiteral("fault clear")) && f_.sim().command(QStringLiteral("fault loss 100 report")));
        QTRY_COMPARE_WITH_TIMEOUT(state().value(QLatin1String("controller")).toString(), QStringLiteral("online"), 15000);
        f_.x().pictureWhen("startstate-back", [](const QImage &i) { return countPixels(i, kIndicator, light) > kIndicator.width() * kIndicator.height() / 2; });
    }

    // The service manager's side, a datagram socket as NOTIFY_SOCKET: while the panel waits for
    // an absent controller its GUI thread pings at least every half period, each ping moving the
    // start time-out on, and READY=1 comes only after the whole start-up, with the main screen.
    // Faults caught: a panel killed by its watchdog (or its start time-out) while it waits for
    // the controller or the operator; READY before the main screen, or never.
    void serviceNotify()
    {
        const QString path = f_.file(QStringLiteral("/notify.sock"));
        const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", qPrintable(path));
        QVERIFY(fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
        f_.panel().stop();
        QVERIFY(f_.sim().command(QStringLiteral("journal clear")) && f_.sim().command(QStringLiteral("fault silent"))
                && f_.sim().command(QStringLiteral("fault silent-after 0")));
        QProcessEnvironment env;
        env.insert(QStringLiteral("NOTIFY_SOCKET"), path);
        env.insert(QStringLiteral("WATCHDOG_USEC"), QStringLiteral("2000000"));
        QVERIFY(f_.startPanel(env));
        // One message within the time given, or an empty one.
        const auto next = [fd](int ms) {
            pollfd p{fd, POLLIN, 0};
            char buffer[256];
            const ssize_t n = ::poll(&p, 1, ms) == 1 ? ::recv(fd, buffer, sizeof buffer, 0) : 0;
            return QByteArray(buffer, n > 0 ? int(n) : 0);
        };
        QVERIFY(f_.sim().waitFor(QStringLiteral("RRQ file.sys"), 10000));
        while (!next(0).isEmpty()) {
        }
        // The panel pings every quarter period; what the watchdog itself needs is one ping a
        // period, which a loaded machine's scheduling keeps even when a quarter slips.
        for (int ping = 0; ping < 8; ++ping)
            QCOMPARE(next(2000), QByteArray("WATCHDOG=1\nEXTEND_TIMEOUT_USEC=2000000"));
        QVERIFY(f_.x().key(QStringLiteral("Escape")));
        QVERIFY(QTest::qWaitFor([&] { return f_.x().key(QStringLiteral("Return")) && f_.sim().waitFor(QStringLiteral("cmd 20"), 500); }, 10000));
        QByteArray message;
        while (!message.startsWith("READY=1") && !(message = next(20000)).isEmpty()) {
        }
        QVERIFY(message.startsWith("READY=1"));
        QVERIFY(f_.sim().waitFor(QStringLiteral("cmd 26"), 0));
        QCOMPARE(next(1000), QByteArray("WATCHDOG=1"));
        ::close(fd);
        f_.panel().stop();
        QVERIFY(f_.sim().command(QStringLiteral("fault clear")));
    }

    void cleanupTestCase() { f_.stop(); }

private:
    // The panel's retained state on the broker.
    QJsonObject state() const { return QJsonDocument::fromJson(broker_.retained(QStringLiteral("knit/S1/state"))).object(); }
    BrokerProcess broker_;
    PanelFixture f_;
};

QTEST_GUILESS_MAIN(TestStartStateE2e)
#include "test_startstate_e2e.moc"
