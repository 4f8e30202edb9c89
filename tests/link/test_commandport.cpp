// Catches: a wrapper that lays out the datagram wrongly (byte order, markers, row form), a
// reply taken from the wrong sender, of the wrong length or echoing another command, a late
// duplicate of one reply taken as the next command's, a getpara that overwrites its preset on
// time-out, a getmotostatus that reports "stopped" when nobody answers, waits that end early
// or overrun, and a trace that differs from the fixed format.
#include "portoffset.h"
#include "testroot.h"
#include "udppeer.h"

#include "link/commanddatagram.h"
#include "link/commands.h"
#include "link/commandtrace.h"
#include "platform/panelenv.h"

#include <QElapsedTimer>
#include <QTemporaryFile>
#include <QTest>

#include <arpa/inet.h>
#include <functional>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using Call = std::function<void()>;
Q_DECLARE_METATYPE(Call)
Q_DECLARE_METATYPE(UdpPeer::Responder)

namespace {

QByteArray withResult(QByteArray reply, quint16 result)
{
    reply[8] = char(result & 0xff);
    reply[9] = char(result >> 8);
    return reply;
}

UdpPeer::Responder answering(quint16 result)
{
    return [result](const QByteArray &r) { return std::vector<UdpPeer::Answer>{{withResult(r, result)}}; };
}

} // namespace

class TestCommandPort : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        PortOffset::useFree();
        qputenv("KNIT_CONTROLLER_HOST", "127.0.0.1");
        qputenv("KNIT_TIMEOUT_SCALE", "0.05");
    }
    void cleanup() { peer_.stop(); }

    void layout_data();
    void layout();
    void acceptance_data();
    void acceptance();
    void timeouts_data();
    void timeouts();
    void getparaKeepsPresetOnTimeout();
    void withoutReplyReturnsAtOnce();
    void busyCommandPortFails();
    void duplicateReplyDoesNotLeak();
    void traceLines_data();
    void traceLines();
    void traceOnStandardOutput();

private:
    quint16 controllerPort() const { return PanelEnv::port(2800); }
    TestRoot root_;
    UdpPeer peer_;
};

void TestCommandPort::layout_data()
{
    QTest::addColumn<Call>("call");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addRow("%s", "setparacom open group 2") << Call([] { setparacom(0x20, 2, 1, 0); })
                                                   << QByteArray::fromHex("204100001b02010000005500");
    QTest::addRow("%s", "setparacom value little-endian") << Call([] { setparacom(0x22, 1, 0x0116, 0xBEEF); })
                                                          << QByteArray::fromHex("224100001b011601efbe5500");
    QTest::addRow("%s", "setparacomlong racking 256+n") << Call([] { setparacomlong(0x22, 8, 256 + 3, 7); })
                                                        << QByteArray::fromHex("224100001b08030107005500");
    QTest::addRow("%s", "getpara sends preset as value 2") << Call([] { unsigned short v = 0x0102; getpara(0x2A, 1, 4, &v); })
                                                          << QByteArray::fromHex("2a4100001b01040002015500");
    QTest::addRow("%s", "getmotostatus") << Call([] { getmotostatus(); })
                                         << QByteArray::fromHex("264100001b21000000005500");
    QTest::addRow("%s", "setcntcmd row form") << Call([] { setcntcmd(0x1234, 0x0081, 0xAB); })
                                              << QByteArray::fromHex("720401001b34128100ab5500");
    QTest::addRow("%s", "setparawithoutrcv") << Call([] { setparawithoutrcv(0x20, 129, 0, 0); })
                                             << QByteArray::fromHex("204100001b81000000005500");
}

void TestCommandPort::layout()
{
    QFETCH(Call, call);
    QFETCH(QByteArray, bytes);
    QVERIFY(peer_.start(controllerPort(), UdpPeer::echo()));
    call();
    QTRY_COMPARE(peer_.received().size(), 1);
    QCOMPARE(peer_.received().first().toHex(' '), bytes.toHex(' '));
}

void TestCommandPort::acceptance_data()
{
    using A = UdpPeer::Answer;
    QTest::addColumn<UdpPeer::Responder>("responder");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("value"); // getpara's output after the call, preset 0x7777

    QTest::addRow("%s", "echo with result") << answering(0x0A0B) << 1 << 0x0A0B;
    QTest::addRow("%s", "nothing") << UdpPeer::silent() << 0 << 0x7777;
    QTest::addRow("%s", "wrong port") << UdpPeer::Responder([](const QByteArray &r) {
        A a{withResult(r, 1)};
        a.otherPort = true;
        return std::vector<A>{a};
    }) << 0 << 0x7777;
    QTest::addRow("%s", "wrong address") << UdpPeer::Responder([](const QByteArray &r) {
        A a{withResult(r, 1)};
        a.otherAddress = true;
        return std::vector<A>{a};
    }) << 0 << 0x7777;
    QTest::addRow("%s", "short reply") << UdpPeer::Responder([](const QByteArray &r) {
        return std::vector<A>{{withResult(r, 1).left(11)}};
    }) << 0 << 0x7777;
    QTest::addRow("%s", "long reply") << UdpPeer::Responder([](const QByteArray &r) {
        return std::vector<A>{{withResult(r, 1) + '\0'}};
    }) << 0 << 0x7777;
    QTest::addRow("%s", "reply to another command") << UdpPeer::Responder([](const QByteArray &r) {
        QByteArray other = withResult(r, 1);
        other[0] = 0x26;
        return std::vector<A>{{other}};
    }) << 0 << 0x7777;
    QTest::addRow("%s", "late reply") << UdpPeer::Responder([](const QByteArray &r) {
        return std::vector<A>{{withResult(r, 1), 200}};
    }) << 0 << 0x7777;
    QTest::addRow("%s", "junk first then reply") << UdpPeer::Responder([](const QByteArray &r) {
        A wrongPort{withResult(r, 9)};
        wrongPort.otherPort = true;
        return std::vector<A>{{QByteArray("xx")}, wrongPort, {withResult(r, 0x0505), 5}};
    }) << 1 << 0x0505;
}

void TestCommandPort::acceptance()
{
    QFETCH(UdpPeer::Responder, responder);
    QFETCH(int, result);
    QFETCH(int, value);
    QVERIFY(peer_.start(controllerPort(), responder));
    unsigned short v = 0x7777;
    QCOMPARE(int(getpara(0x2A, 1, 4, &v)), result);
    QCOMPARE(int(v), value);
}

void TestCommandPort::timeouts_data()
{
    QTest::addColumn<Call>("call");
    QTest::addColumn<int>("ms"); // nominal time-out; the scale is 0.05
    QTest::addRow("%s", "setparacom 1 s") << Call([] { QCOMPARE(int(setparacom(0x20, 2, 1, 0)), 0); }) << 1000;
    QTest::addRow("%s", "setcntcmd 1 s") << Call([] { QCOMPARE(int(setcntcmd(1, 2, 3)), 0); }) << 1000;
    QTest::addRow("%s", "getmotostatus 1.5 s, running") << Call([] { QCOMPARE(getmotostatus(), 0xFFFFu); }) << 1500;
    QTest::addRow("%s", "setparacomlong 20 s") << Call([] { QCOMPARE(int(setparacomlong(0x22, 8, 1, 1)), 0); }) << 20000;
}

void TestCommandPort::timeouts()
{
    QFETCH(Call, call);
    QFETCH(int, ms);
    QElapsedTimer t;
    t.start();
    call();
    const qint64 scaled = PanelEnv::scaledMs(ms);
    QVERIFY2(t.elapsed() >= scaled - 1, qPrintable(QString::number(t.elapsed())));
    QVERIFY2(t.elapsed() < scaled + 300, qPrintable(QString::number(t.elapsed())));
}

void TestCommandPort::getparaKeepsPresetOnTimeout()
{
    unsigned short v = 0x4242;
    QCOMPARE(int(getpara(0x2A, 1, 4, &v)), 0);
    QCOMPARE(int(v), 0x4242);
    QCOMPARE(int(getpara(0x2A, 1, 4, nullptr)), 0);
}

void TestCommandPort::withoutReplyReturnsAtOnce()
{
    QElapsedTimer t;
    t.start();
    setparawithoutrcv(0x20, 129, 0, 0);
    QVERIFY(t.elapsed() < 20);
}

void TestCommandPort::busyCommandPortFails()
{
    QVERIFY(peer_.start(controllerPort(), UdpPeer::echo()));
    const int holder = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(PanelEnv::port(2900));
    a.sin_addr.s_addr = htonl(INADDR_ANY);
    QCOMPARE(::bind(holder, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
    QElapsedTimer t;
    t.start();
    const unsigned char r = setparacom(0x20, 2, 1, 0);
    const qint64 elapsed = t.elapsed();
    ::close(holder);
    QCOMPARE(int(r), 0);
    QVERIFY(elapsed >= PanelEnv::scaledMs(1000) - 1);
    QTRY_COMPARE(peer_.received().size(), 1); // still sent
}

void TestCommandPort::duplicateReplyDoesNotLeak()
{
    QVERIFY(peer_.start(controllerPort(), [](const QByteArray &r) {
        const quint16 v = quint16(quint8(r[0]));
        return std::vector<UdpPeer::Answer>{{withResult(r, v)}, {withResult(r, v)}};
    }));
    unsigned short first = 0;
    unsigned short second = 0;
    QCOMPARE(int(getpara(0x2A, 1, 4, &first)), 1);
    QCOMPARE(int(getpara(0x2B, 1, 4, &second)), 1);
    QCOMPARE(int(first), 0x2A);
    QCOMPARE(int(second), 0x2B);
}

void TestCommandPort::traceLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("send");
    QTest::addColumn<QString>("recv");
    QTest::addRow("%s", "open") << QByteArray::fromHex("204100001b02010000005500")
                                << "send:20 41 0 0 1b 2 1 0 0 0 55 0 \n"
                                << "recv:20 41 0 0 1b 2 1 0 0 0 55 0 \n\n";
    QTest::addRow("%s", "high bytes") << QByteArray::fromHex("ff41fe001b8001ffabcd5500")
                                      << "send:ff 41 fe 0 1b 80 1 ff ab cd 55 0 \n"
                                      << "recv:ff 41 fe 0 1b 80 1 ff ab cd 55 0 \n\n";
}

void TestCommandPort::traceLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, send);
    QFETCH(QString, recv);
    const auto *b = reinterpret_cast<const unsigned char *>(bytes.constData());
    QCOMPARE(QString::fromStdString(CommandTrace::sendLine(b, 12)), send);
    QCOMPARE(QString::fromStdString(CommandTrace::recvLine(b, 12)), recv);
}

void TestCommandPort::traceOnStandardOutput()
{
    QVERIFY(peer_.start(controllerPort(), answering(0x0102)));
    QTemporaryFile capture;
    QVERIFY(capture.open());
    std::fflush(stdout);
    const int saved = ::dup(1);
    ::dup2(capture.handle(), 1);
    const unsigned char r = setparacom(0x22, 3, 5, 9);
    std::fflush(stdout);
    ::dup2(saved, 1);
    ::close(saved);
    QCOMPARE(int(r), 1);
    capture.seek(0);
    QCOMPARE(QString::fromLatin1(capture.readAll()),
             QStringLiteral("send:22 41 0 0 1b 3 5 0 9 0 55 0 \nrecv:22 41 0 0 1b 3 5 0 2 1 55 0 \n\n"));
}

QTEST_GUILESS_MAIN(TestCommandPort)
#include "test_commandport.moc"
