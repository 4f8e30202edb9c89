// The bounded update bracket against a UDP peer on loopback. Faults caught: a retry loop that
// gives up early or runs past its bound, keeps sending after the answer, sends the wrong
// command, group or value for a step, reports an unanswered bracket as done, or spins without
// its floor when every try fails at once.
#include "portoffset.h"
#include "testroot.h"
#include "testtable.h"
#include "udppeer.h"

#include "logic/controller/updatebracket.h"
#include "platform/panelenv.h"

#include <QElapsedTimer>
#include <QTest>

#include <functional>

using Step = std::function<bool(const UpdateBracket &)>;
Q_DECLARE_METATYPE(Step)

class TestUpdateBracket : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        PortOffset::useFree();
        qputenv("KNIT_CONTROLLER_HOST", "127.0.0.1");
        qputenv("KNIT_TIMEOUT_SCALE", "0.02");
    }
    void cleanup() { peer_.stop(); }

    void tries_data()
    {
        // datagram: every try's bytes
        // answeredAt: the try the peer answers; 0: never
        TestTable::columns<Step, QByteArray, int, int, bool>("step", "datagram", "answeredAt", "count", "result");

        const Step close = [](const UpdateBracket &b) { return b.closeRetrying(); };
        const Step open = [](const UpdateBracket &b) { return b.openRetrying(); };
        const Step set = [](const UpdateBracket &b) { return b.setRetrying(0x0116, 0xBEEF); };
        const Step once = [](const UpdateBracket &b) { return b.close(); };
        const QByteArray closing = QByteArray::fromHex("2041 0000 1b0c 0000 0000 5500");
        const QByteArray opening = QByteArray::fromHex("2041 0000 1b0c 0100 0000 5500");
        const QByteArray setting = QByteArray::fromHex("2241 0000 1b0c 1601 efbe 5500");
        QTest::addRow("%s", "close answered at try 1") << close << closing << 1 << 1 << true;
        QTest::addRow("%s", "close answered at try 10") << close << closing << 10 << 10 << true;
        QTest::addRow("%s", "close never answered") << close << closing << 0 << 10 << false;
        QTest::addRow("%s", "open answered at try 10") << open << opening << 10 << 10 << true;
        QTest::addRow("%s", "set never answered") << set << setting << 0 << 10 << false;
        QTest::addRow("%s", "single close not answered") << once << closing << 0 << 1 << false;
    }

    void tries()
    {
        auto [step, datagram, answeredAt, count, result] = TestTable::fetch<Step, QByteArray, int, int, bool>("step", "datagram", "answeredAt", "count", "result");
        int seen = 0;
        QVERIFY(peer_.start(PanelEnv::port(2800), [&seen, answeredAt = answeredAt](const QByteArray &r) {
            return ++seen == answeredAt ? std::vector<UdpPeer::Answer>{{r}} : std::vector<UdpPeer::Answer>{};
        }));
        QCOMPARE(step(UpdateBracket(12)), result);
        // The peer records on its own thread: the last try may still be on its way to it.
        QTRY_COMPARE(peer_.received().size(), count);
        const QList<QByteArray> received = peer_.received();
        for (const QByteArray &d : received)
            QCOMPARE(d.toHex(' '), datagram.toHex(' '));
    }

    // Nobody listens, so every try fails at once: the floor alone paces the tries.
    void floorPacesTries()
    {
        const int floorMs = 60;
        UpdateBracket bracket(12);
        bracket.withFloor(floorMs);
        QElapsedTimer t;
        t.start();
        QVERIFY(!bracket.closeRetrying());
        QVERIFY2(t.elapsed() >= UpdateBracket::kTries * floorMs - 5, qPrintable(QString::number(t.elapsed())));
    }

private:
    TestRoot root_;
    UdpPeer peer_;
};

QTEST_GUILESS_MAIN(TestUpdateBracket)
#include "test_updatebracket.moc"
