// Catches: a wrapper that lays out the datagram wrongly (byte order, markers, row form), a
// reply taken from the wrong sender, of the wrong length or echoing another command, a late
// duplicate of one reply taken as the next command's, a getParameter that overwrites its preset on
// time-out, a queryCarriageStatus that reports "stopped" when nobody answers, and waits that end
// early or overrun (a command without reply must not wait at all). The event loop's datagram
// socket: a port shared with another socket, a refused bind that stops sending, a datagram
// longer than the buffer overrunning it, a closed socket that keeps its port.
#include "ownclock.h"
#include "portoffset.h"
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"
#include "udppeer.h"

#include "link/commands.h"
#include "link/datagramsocket.h"
#include "platform/panelenv.h"

#include <QElapsedTimer>
#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTest>

#include <functional>

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

// One answer with result 1, changed by edit before it goes out.
UdpPeer::Responder answeringAfter(std::function<void(UdpPeer::Answer &)> edit)
{
    return [edit](const QByteArray &r) {
        UdpPeer::Answer a{withResult(r, 1)};
        edit(a);
        return std::vector<UdpPeer::Answer>{a};
    };
}

} // namespace

class TestCommandPort : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Every program and test connects without a proxy look-up, from its application object on.
        QCOMPARE(QNetworkProxy::applicationProxy().type(), QNetworkProxy::NoProxy);
        PortOffset::useFree();
        qputenv("KNIT_CONTROLLER_HOST", "127.0.0.1");
        qputenv("KNIT_TIMEOUT_SCALE", "0.05");
    }
    void cleanup() { peer_.stop(); }

    // One datagram of each command function, in this order: setParameter's value little-endian,
    // setParameterLongWait's racking 256 + n, getParameter's preset as value 2, queryCarriageStatus, sendRowCommand's
    // row form, setParameterNoReply.
    void layout()
    {
        QVERIFY(peer_.start(controllerPort(), UdpPeer::echo()));
        unsigned short preset = 0x0102;
        setParameter(0x22, 1, 0x0116, 0xBEEF);
        setParameterLongWait(0x22, 8, 256 + 3, 7);
        getParameter(0x2A, 1, 4, &preset);
        queryCarriageStatus();
        sendRowCommand(0x1234, 0x0081, 0xAB);
        setParameterNoReply(0x20, 129, 0, 0);
        QTRY_COMPARE(peer_.received().size(), 6);
        KNIT_COMPARE_BYTES(peer_.received().join(), TestBytes::golden(QStringLiteral("commands.bin")));
    }

    void acceptance_data()
    {
        using A = UdpPeer::Answer;
        // value: getParameter's output after the call, preset 0x7777
        TestTable::columns<UdpPeer::Responder, int, int>("responder", "result", "value");

        QTest::addRow("%s", "echo with result") << answeringAfter([](A &a) { a.bytes = withResult(a.bytes, 0x0A0B); }) << 1 << 0x0A0B;
        QTest::addRow("%s", "nothing") << UdpPeer::silent() << 0 << 0x7777;
        QTest::addRow("%s", "wrong port") << answeringAfter([](A &a) { a.otherPort = true; }) << 0 << 0x7777;
        QTest::addRow("%s", "wrong address") << answeringAfter([](A &a) { a.otherAddress = true; }) << 0 << 0x7777;
        QTest::addRow("%s", "short reply") << answeringAfter([](A &a) { a.bytes.chop(1); }) << 0 << 0x7777;
        QTest::addRow("%s", "long reply") << answeringAfter([](A &a) { a.bytes += '\0'; }) << 0 << 0x7777;
        QTest::addRow("%s", "reply to another command") << answeringAfter([](A &a) { a.bytes[0] = 0x26; }) << 0 << 0x7777;
        QTest::addRow("%s", "late reply") << answeringAfter([](A &a) { a.delayMs = 200; }) << 0 << 0x7777;
        // The stale one: a duplicate reply to the command before, still waiting in the socket.
        QTest::addRow("%s", "junk and a stale reply first, then the reply") << UdpPeer::Responder([](const QByteArray &r) {
            A wrongPort{withResult(r, 9)};
            wrongPort.otherPort = true;
            return std::vector<A>{{QByteArray("xx")}, wrongPort, {withResult(QByteArray(r).replace(0, 1, "\x2b"), 9)}, {withResult(r, 0x0505), 5}};
        }) << 1 << 0x0505;
    }

    void acceptance()
    {
        auto [responder, result, value] = TestTable::fetch<UdpPeer::Responder, int, int>("responder", "result", "value");
        QVERIFY(peer_.start(controllerPort(), responder));
        unsigned short v = 0x7777;
        QCOMPARE(int(getParameter(0x2A, 1, 4, &v)), result);
        QCOMPARE(int(v), value);
    }

    void timeouts_data()
    {
        // ms: nominal time-out (0: returns at once); the scale is 0.05
        TestTable::columns<Call, int>("call", "ms");
        QTest::addRow("%s", "setParameter 1 s") << Call([] { QCOMPARE(int(setParameter(0x20, 2, 1, 0)), 0); }) << 1000;
        QTest::addRow("%s", "sendRowCommand 1 s") << Call([] { QCOMPARE(int(sendRowCommand(1, 2, 3)), 0); }) << 1000;
        QTest::addRow("%s", "getParameter without output 1.5 s") << Call([] { QCOMPARE(int(getParameter(0x2A, 1, 4, nullptr)), 0); }) << 1500;
        QTest::addRow("%s", "queryCarriageStatus 1.5 s, running") << Call([] { QCOMPARE(queryCarriageStatus(), 0xFFFFu); }) << 1500;
        QTest::addRow("%s", "setParameterLongWait 20 s") << Call([] { QCOMPARE(int(setParameterLongWait(0x22, 8, 1, 1)), 0); }) << 20000;
        QTest::addRow("%s", "setParameterNoReply at once") << Call([] { setParameterNoReply(0x20, 129, 0, 0); }) << 0;
    }

    void timeouts()
    {
        auto [call, ms] = TestTable::fetch<Call, int>("call", "ms");
        QElapsedTimer t;
        t.start();
        const OwnClock own;
        call();
        const qint64 scaled = PanelEnv::scaledMs(ms);
        QVERIFY2(t.elapsed() >= scaled - 1 && own.elapsedMs() < scaled + (ms ? 300 : 20), qPrintable(QString::number(t.elapsed())));
    }

    void busyCommandPortFails()
    {
        QVERIFY(peer_.start(controllerPort(), UdpPeer::echo()));
        UdpPeer holder; // takes the panel's command port
        QVERIFY(holder.start(PanelEnv::port(2900), UdpPeer::silent()));
        QElapsedTimer t;
        t.start();
        const unsigned char r = setParameter(0x20, 2, 1, 0);
        QCOMPARE(int(r), 0);
        QVERIFY(t.elapsed() >= PanelEnv::scaledMs(1000) - 1);
        QTRY_COMPARE(peer_.received().size(), 1); // still sent
    }

    void datagramSocket()
    {
        QVERIFY(peer_.start(controllerPort(), UdpPeer::echo()));
        const quint16 port = PanelEnv::port(2900);
        DatagramSocket holder;
        DatagramSocket other;
        QVERIFY(holder.bind(port));
        QVERIFY(!other.bind(port));
        QVERIFY(!other.isBound());
        const unsigned char bytes[20] = {1, 2, 3};
        QVERIFY(other.sendTo(bytes, 20, INADDR_LOOPBACK, controllerPort()));
        QTRY_COMPARE(peer_.received().size(), 1);
        QSignalSpy ready(&holder, &DatagramSocket::readyRead);
        QVERIFY(holder.sendTo(bytes, 20, INADDR_LOOPBACK, controllerPort()));
        QVERIFY(ready.wait(30000));
        unsigned char got[13] = {};
        quint32 from = 0;
        quint16 fromPort = 0;
        QCOMPARE(holder.receive(got, 12, &from, &fromPort), 12);
        QCOMPARE(int(got[12]), 0);
        QCOMPARE(from, quint32(INADDR_LOOPBACK));
        QCOMPARE(fromPort, controllerPort());
        QCOMPARE(holder.receive(got, 12, &from), -1);
        holder.close();
        QVERIFY(other.bind(port));
    }

private:
    quint16 controllerPort() const { return PanelEnv::port(2800); }
    TestRoot root_;
    UdpPeer peer_;
};

QTEST_GUILESS_MAIN(TestCommandPort)
#include "test_commandport.moc"
