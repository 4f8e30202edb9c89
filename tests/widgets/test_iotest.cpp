// The input/output test page against knitsim in its input/output test mode. Faults caught: a
// field that drives the wrong output (index by the panel's test number instead of row + 4 x
// column), a lamp that takes 3, a number cut to two digits or taken above its range, arrows
// that leave a running carriage, a field that shows a value before the controller reported
// it or not when it did; inputs read with the wrong sense; reports taken from another address
// or outside the outputs; a page that stays when the controller leaves the mode by itself; a
// key-panel label that sends another value than it names, or a field it cannot reach.
#include "modaldriver.h"
#include "paneltouch.h"
#include "simprocess.h"
#include "testroot.h"
#include "testtable.h"

#include "data/machinedata.h"
#include "link/commands.h"
#include "link/statuschannel.h"
#include "machinetests/iotestpage.h"
#include "platform/panelenv.h"
#include "ui/iotestkeys.h"

#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

class TestIoTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("KNIT_TIMEOUT_SCALE", "0.2");
        QVERIFY2(sim_.start(), qPrintable(sim_.error()));
        channel_.setTraceStream(nullptr);
        QVERIFY(channel_.open());
        QCOMPARE(int(setParameter(0x20, 128, 1, 0)), 1);
    }

    // From field (0, 0), the carriage standing unless direction says otherwise, keys pressed
    // and then labels of the key panel beside the field touched: the test commands that go out
    // ("index=value") and what the focused field then shows.
    void keys_data()
    {
        // keyCode: the last key's, as the key code line shows it; -1: not looked at
        TestTable::columns<QString, QString, int, QStringList, QString, QStringList, int>("keys", "touched", "direction", "sent", "shown", "messages", "keyCode");
        const QStringList none;
        QTest::addRow("no lamp 3") << "3" << "" << 3 << none << "关闭" << none << 51;
        QTest::addRow("racking is output 6") << "ddr4" << "" << 3 << QStringList{"6=4"} << "L1" << none << 52;
        QTest::addRow("yellow lamp is output 8") << "rr2" << "" << 3 << QStringList{"8=2"} << "关闭" << none << 50;
        QTest::addRow("roller direction takes no 3") << "dd3" << "" << 3 << none << "停止" << none << 51;
        QTest::addRow("100 refused, not cut to 10") << "dr100E" << "" << 3 << none << "0" << none << 4101;
        QTest::addRow("speed 10") << "dddrr10R" << "" << 3 << QStringList{"11=10"} << "10" << none << 4100;
        QTest::addRow("speed 11 refused") << "dddrr11E" << "" << 3 << none << "0" << none << 4101;
        QTest::addRow("carriage running: Down stops it first") << "dddrd" << "" << 1 << QStringList{"7=3"} << "停止"
                                                                << QStringList{"请先停止机头运行 !"} << 4117;
        QTest::addRow("打开: red lamp on") << "" << "打开" << 3 << QStringList{"0=1"} << "打开" << none << -1;
        QTest::addRow("反转: roller backward") << "dd" << "反转" << 3 << QStringList{"2=2"} << "反转" << none << -1;
        QTest::addRow("L3: racking") << "ddr" << "L3" << 3 << QStringList{"6=5"} << "L3" << none << -1;
        QTest::addRow("停止: carriage") << "dddr" << "停止" << 3 << QStringList{"7=3"} << "停止" << none << -1;
        QTest::addRow("digits, 确 定: auxiliary roller") << "dr" << "9|9|确 定" << 3 << QStringList{"5=99"} << "99" << none << -1;
        QTest::addRow("取 消 restores the typed value") << "d" << "7|取 消|确 定" << 3 << QStringList{"1=0"} << "0" << none << -1;
    }
    void keys()
    {
        auto [keys, touched, direction, sent, shown, messages, keyCode] = TestTable::fetch<QString, QString, int, QStringList, QString, QStringList, int>("keys", "touched", "direction", "sent", "shown", "messages", "keyCode");
        QVERIFY(sim_.command(QStringLiteral("journal clear")));
        machine_.ioTest().clear();
        for (const int lamp : {0, 4, 8})
            machine_.ioTest().setWord(std::size_t(lamp), 2);
        machine_.ioTest().setWord(2, 3);
        machine_.ioTest().setWord(7, quint16(direction));
        IoTestPage page(machine_);
        QVERIFY(shownActive(&page));
        ModalDriver driver;
        driver.pressOk();
        for (const QChar c : keys) { // u d l r arrows, E keypad Enter, R Return, B Backspace; digits as they are
            const Qt::Key k = c == 'u' ? Qt::Key_Up : c == 'd' ? Qt::Key_Down : c == 'l' ? Qt::Key_Left : c == 'r' ? Qt::Key_Right
                            : c == 'E' ? Qt::Key_Enter : c == 'R' ? Qt::Key_Return : c == 'B' ? Qt::Key_Backspace : Qt::Key(c.unicode());
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &page, k, c == 'E' ? Qt::KeypadModifier : Qt::NoModifier);
        }
        QVERIFY(touchPanelKeys(page.keyPanel(), touched));
        QVERIFY(sim_.commandsJournaled());
        QTRY_COMPARE(testCommands(), sent);
        QTRY_COMPARE(page.field(page.row(), page.column())->text(), shown);
        QCOMPARE(driver.texts, messages);
        if (keyCode >= 0)
            QCOMPARE(page.keyLabel()->text(), QString::number(keyCode));
        // The running carriage keeps the focus on its field until it is stopped.
        if (direction != 3)
            QCOMPARE(page.row() * 10 + page.column(), 31);
    }

    void inputs_data()
    {
        TestTable::columns<int, int, bool>("input", "value", "closed");
        QTest::addRow("fault signal 0") << 0 << 0 << false;
        QTest::addRow("fault signal 1") << 0 << 1 << true;
        QTest::addRow("fault signal 2") << 0 << 2 << true;
        QTest::addRow("ready signal 0") << 1 << 0 << true;
        QTest::addRow("ready signal 1") << 1 << 1 << false;
        QTest::addRow("ready signal 2") << 1 << 2 << false;
    }
    void inputs()
    {
        auto [input, value, closed] = TestTable::fetch<int, int, bool>("input", "value", "closed");
        machine_.ioTest().clear();
        machine_.ioTest().setByte(std::size_t(40 + input), quint8(value ? 0 : 1));
        IoTestPage page(machine_);
        QVERIFY(sim_.command(QStringLiteral("test input %1 %2").arg(input).arg(value)));
        QTRY_COMPARE(page.inputLabel(input)->text(), closed ? QStringLiteral("<font color = red>闭合") : QStringLiteral("<font color = darkGreen>断开"));
    }

    // Output reports from another address, or for an output the page does not have, change
    // nothing: the controller's report behind them shows alone.
    void foreignReports()
    {
        machine_.ioTest().clear();
        IoTestPage page(machine_);
        QUdpSocket other, controller;
        QVERIFY(other.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0) && controller.bind(QHostAddress::LocalHost, 0));
        other.writeDatagram(QByteArray::fromHex("26 02 04 00 1b 02 04 00 01 00 55 aa"), QHostAddress::LocalHost, PanelEnv::port(2900));
        controller.writeDatagram(QByteArray::fromHex("26 02 04 00 1b 02 0c 00 01 00 55 aa"), QHostAddress::LocalHost, PanelEnv::port(2900));
        controller.writeDatagram(QByteArray::fromHex("26 02 04 00 1b 02 00 00 01 00 55 aa"), QHostAddress::LocalHost, PanelEnv::port(2900));
        QTRY_COMPARE(page.field(0, 0)->text(), QStringLiteral("打开"));
        QCOMPARE(page.field(0, 1)->text(), QString());
        QCOMPARE(machine_.ioTest().toByteArray().count('\0'), 79);
    }

    // The controller may leave the mode by itself: its closing datagram closes the page.
    void closedByTheController()
    {
        IoTestPage page(machine_);
        QSignalSpy closed(&page, &QDialog::finished);
        QVERIFY(sim_.command(QStringLiteral("test end")));
        QTRY_COMPARE(closed.count(), 1);
    }

private:
    // The test commands knitsim received, as "index=value".
    QStringList testCommands()
    {
        QStringList out;
        for (const QString &line : sim_.send(QStringLiteral("journal"))) {
            const QByteArray b = QByteArray::fromHex(line.section(' ', 2).remove(' ').toLatin1());
            if (b.size() == 12 && quint8(b[0]) == 0x26 && b[1] == 2)
                out << QStringLiteral("%1=%2").arg(quint8(b[6]) | quint8(b[7]) << 8).arg(quint8(b[8]) | quint8(b[9]) << 8);
        }
        return out;
    }

    TestRoot root_;
    SimProcess sim_;
    MachineData machine_;
    StatusChannel channel_{machine_}; // the test reports of the inputs come this way
};

QTEST_MAIN(TestIoTest)
#include "test_iotest.moc"
