// The carriage test: what it sends and shows, without the controller. Faults caught: moto.tst
// words placed on the wrong group or kind (the page would show one system's values on the
// other), a density key that addresses the wrong motor or position, an inversion built from
// the last sent pattern instead of the reported one, cycles that stall after one step, step
// at the wrong period, walk objects that one system does not have or send after they stop; a
// frequency test on a cam; a report that writes outside the page's elements; a key-panel or
// test-menu label that makes the page do other than it names.
#include "modaldriver.h"
#include "paneltouch.h"
#include "simprocess.h"
#include "testroot.h"
#include "testtable.h"

#include "data/machinedata.h"
#include "data/testblocks.h"
#include "link/commands.h"
#include "link/testdatagram.h"
#include "logic/machinetests/mototest.h"
#include "machinetests/carriagetestpage.h"
#include "machinetests/motogroupview.h"
#include "ui/automatictestkeys.h"
#include "ui/beepingbutton.h"
#include "ui/carriagetestkeys.h"

#include <QTest>

namespace {

// "type/object/value" of each command sent.
struct Recorder
{
    QStringList sent;
    MotoTest::Sender sender()
    {
        return [this](unsigned char type, unsigned char object, unsigned short value) {
            sent << QStringLiteral("%1/%2/%3").arg(type).arg(object).arg(value);
        };
    }
};

void report(MotoTest &t, int type, int object, int value)
{
    const unsigned char r[12] = {0x26, 2, 4, 0, 0x1B, 3, quint8(type), quint8(object), quint8(value), quint8(value >> 8), 0x55, 0xAA};
    t.applyReport(r);
}

// Every state the page shows.
QString states(const MotoTest &t)
{
    QStringList m, b, c;
    for (int i = 0; i < MotoTest::kMotors; ++i)
        m << t.motorText(i);
    for (int i = 0; i < 8; ++i)
        b << QString::number(t.blades(i));
    for (int i = 0; i < 4; ++i)
        c << QString::number(t.cams(i));
    return QStringLiteral("m:%1 b:%2 c:%3 g:%4,%5 f:%6").arg(m.join(','), b.join(','), c.join(',')).arg(t.guides(0)).arg(t.guides(1)).arg(int(t.frequencyRunning()));
}

} // namespace

class TestMotoTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("KNIT_TIMEOUT_SCALE", "0.2");
        QVERIFY2(sim_.start(), qPrintable(sim_.error()));
        QCOMPARE(int(setParameter(0x20, TestDatagram::kCarriageMode, 1, 0)), 1);
    }

    // A label of the selection's key column, or of the test menu that M shows in its place,
    // touched: the message the page shows while it runs a test and the first test commands that
    // reach the controller ("type/object/value").
    void keyPanel_data()
    {
        TestTable::columns<bool, int, int, QString, QString, QStringList>("menu", "group", "kind", "touched", "message", "sent");
        const QString none;
        QTest::addRow("密度:0") << false << 0 << 0 << "密度:0" << none << QStringList{"0/2/0"};
        QTest::addRow("密度:400, second motor") << false << 2 << 4 << "密度:400" << none << QStringList{"0/1/400"};
        QTest::addRow("整组:649") << false << 0 << 4 << "整组:649" << none << QStringList{"0/8/649"};
        QTest::addRow("密度:归零") << false << 0 << 0 << "密度:归零" << none << QStringList{"0/2/65535"};
        QTest::addRow("整组测试 inverts the blades") << false << 0 << 3 << "整组测试" << none << QStringList{"2/3/255"};
        QTest::addRow("循环测试") << false << 0 << 1 << "循环测试" << "正在进行整组循环测试, 按< 确定 >取消测试 !" << QStringList{"2/2/1"};
        QTest::addRow("menu: 方式1") << true << 0 << 1 << "方式1" << "正在进行方式1自动测试, 按< 确定 >取消测试 !" << QStringList{"2/2/1"};
        QTest::addRow("menu: 选针器测试2, stopped twice") << true << 2 << 3 << "选针器测试2" << "正在进行选针器测试(频率 = 40 Hz) , 按< 确定 >取消测试 !"
                                                        << QStringList{"130/1/10495", "146/1/10495", "146/1/10495"};
        QTest::addRow("menu: 选针器测试1 on a motor: nothing") << true << 0 << 0 << "选针器测试1" << none << QStringList{};
    }
    void keyPanel()
    {
        auto [menu, group, kind, touched, message, sent] = TestTable::fetch<bool, int, int, QString, QString, QStringList>("menu", "group", "kind", "touched", "message", "sent");
        machine_.carriageTest().clear();
        CarriageTestPage page(machine_);
        QVERIFY(shownActive(&page));
        const MotoGroupView *view = page.groupView(group);
        QWidget *element = view->motorLabel(kind) ? static_cast<QWidget *>(view->motorLabel(kind)) : view->indicator(kind, 0);
        QTest::mouseClick(element, Qt::LeftButton);
        QCOMPARE(page.test().testNumber(), CarriageTestKeys::testNumber(group, kind));
        if (menu)
            QTest::keyClick(&page, Qt::Key_M);
        QVERIFY(sim_.command(QStringLiteral("journal clear")));
        ModalDriver driver;
        driver.pressOk();
        QVERIFY(touchPanelKeys(menu ? static_cast<KeyColumn *>(page.sideMenu()) : page.keyPanel(), touched));
        QCOMPARE(driver.texts, message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(sim_.commandsJournaled());
        QTRY_COMPARE(testCommands().mid(0, sent.size()), sent);
        QCOMPARE(testCommands().isEmpty(), sent.isEmpty());
    }

    // Word w of moto.tst alone set: the element of the page (one system) that shows it.
    void fileWords_data()
    {
        TestTable::columns<int, QString>("word", "shownBy");
        const char *shown[22] = {"2 motor 0", "2 set 1", "0 motor 0", "0 set 1", "", "", "", "",
                                 "2 set 2",   "2 set 3", "0 set 2",   "0 set 3", "", "", "", "",
                                 "2 motor 4", "0 motor 4", "", "", "4 set 0", ""};
        for (int w = 0; w < 22; ++w)
            QTest::addRow("word %d", w) << w << QString::fromLatin1(shown[w]);
    }
    void fileWords()
    {
        auto [word, shownBy] = TestTable::fetch<int, QString>("word", "shownBy");
        QByteArray file(TestBlocks::kMotoFileSize, '\0');
        file[2 * word] = 5; // motor position 5, elements 1 and 3 on
        QVERIFY(TestBlocks::loadMoto(machine_, file));
        CarriageTestPage page(machine_);
        QStringList found;
        for (int g = 0; g < MotoTest::kGroups; ++g) {
            const MotoGroupView *v = page.groupView(g);
            for (int k = 0; v->isVisibleTo(&page) && k < v->kinds(); ++k) {
                if (v->motorLabel(k) && v->motorLabel(k)->text() == QLatin1String("5"))
                    found << QStringLiteral("%1 motor %2").arg(g).arg(k);
                if (v->indicator(k, 0) && v->indicator(k, 0)->activeState() && !v->indicator(k, 1)->activeState() && v->indicator(k, 2)->activeState())
                    found << QStringLiteral("%1 set %2").arg(g).arg(k);
            }
        }
        QCOMPARE(found.join(','), shownBy);
    }

    // A key on the selection, after the controller reported a state (type, object, value).
    void keys_data()
    {
        TestTable::columns<int, int, QList<int>, QChar, QStringList>("group", "kind", "reported", "key", "sent");
        QTest::addRow("front bed second motor to 649") << 2 << 4 << QList<int>{} << QChar('5') << QStringList{"0/1/649"};
        QTest::addRow("7: every motor to 0") << 2 << 0 << QList<int>{} << QChar('7') << QStringList{"0/8/0"};
        QTest::addRow("6 does nothing") << 0 << 0 << QList<int>{} << QChar('6') << QStringList{};
        QTest::addRow("blade 2 of reported 5") << 0 << 1 << QList<int>{2, 2, 5} << QChar('2') << QStringList{"2/2/7"};
        QTest::addRow("all blades of reported 5") << 0 << 3 << QList<int>{2, 3, 5} << QChar('0') << QStringList{"2/3/250"};
        QTest::addRow("cam 6 of reported 1") << 2 << 2 << QList<int>{1, 0, 1} << QChar('6') << QStringList{"1/0/33"};
        QTest::addRow("all cams") << 0 << 2 << QList<int>{1, 1, 1} << QChar('0') << QStringList{"1/1/62"};
        QTest::addRow("no cam 7") << 0 << 2 << QList<int>{} << QChar('7') << QStringList{};
        QTest::addRow("guide 8 of reported 128") << 4 << 0 << QList<int>{3, 0, 128} << QChar('8') << QStringList{"3/0/0"};
    }
    void keys()
    {
        auto [group, kind, reported, key, sent] = TestTable::fetch<int, int, QList<int>, QChar, QStringList>("group", "kind", "reported", "key", "sent");
        Recorder r;
        MotoTest t(1, r.sender());
        QVERIFY(t.select(group, kind));
        // What was sent before must not count: only the report does.
        t.digit(1);
        r.sent.clear();
        if (!reported.isEmpty())
            report(t, reported[0], reported[1], reported[2]);
        t.digit(key.digitValue());
        QCOMPARE(r.sent, sent);
    }

    // ticks of 50 ms after the start; the commands sent, from the first-th on.
    void cycles_data()
    {
        TestTable::columns<int, int, int, int, int, QString>("group", "kind", "pattern", "ticks", "first", "sent");
        QTest::addRow("selector: a step every tick") << 0 << 1 << 0 << 3 << 0 << "2/2/1 2/2/0 2/2/2 2/2/0";
        QTest::addRow("selector: 20 steps, then again") << 2 << 3 << 2 << 21 << 19 << "2/1/0 2/1/1 2/1/0";
        QTest::addRow("selectors of one system: 4") << 2 << 1 << 3 << 80 << 79 << "2/3/0 2/0/1";
        QTest::addRow("motor: a step every 15 ticks") << 2 << 0 << 0 << 29 << 0 << "0/0/0 0/0/100";
        QTest::addRow("motor from zero") << 2 << 4 << 1 << 45 << 0 << "0/1/0 0/1/100 0/1/0 0/1/200";
        QTest::addRow("motors in turn from the first")
            << 0 << 0 << 4 << 120 << 0 << "0/0/0 0/0/100 0/0/0 0/0/200 0/0/0 0/0/400 0/0/0 0/0/649 0/1/0";
        QTest::addRow("motors of one system: 4") << 0 << 4 << 3 << 480 << 31 << "0/3/100 0/0/0";
        QTest::addRow("cams of one system: 2") << 2 << 2 << 3 << 60 << 0 << "1/0/0 1/0/255 1/1/0 1/1/255 1/0/0";
        QTest::addRow("guides of one system: 1") << 4 << 0 << 4 << 45 << 0 << "3/0/0 3/0/255 3/0/0 3/0/255";
    }
    void cycles()
    {
        auto [group, kind, pattern, ticks, first, sent] = TestTable::fetch<int, int, int, int, int, QString>("group", "kind", "pattern", "ticks", "first", "sent");
        Recorder r;
        MotoTest t(1, r.sender());
        QVERIFY(t.select(group, kind));
        t.startCycle(pattern);
        for (int i = 0; i < ticks; ++i)
            t.tick();
        QCOMPARE(r.sent.mid(first).join(' '), sent);
        const int total = r.sent.size();
        t.stopCycle();
        for (int i = 0; i < 100; ++i)
            t.tick();
        QCOMPARE(r.sent.size(), total);
    }

    // Reports of type, object, value: the states the page then shows.
    void reports_data()
    {
        TestTable::columns<QList<int>, QString>("reportTypeObjectValue", "shown");
        const QString idle = "m:0,0,0,0,0,0,0,0 b:0,0,0,0,0,0,0,0 c:0,0,0,0 g:0,0 f:0";
        QTest::addRow("position of motor 9") << QList<int>{0, 9, 5} << idle;
        QTest::addRow("cams of system 4") << QList<int>{1, 4, 5} << idle;
        QTest::addRow("selector 8") << QList<int>{2, 8, 5} << idle;
        QTest::addRow("guide set 2") << QList<int>{3, 2, 5} << idle;
        QTest::addRow("counter of motor 8") << QList<int>{4, 8, 5} << idle;
        QTest::addRow("unknown type") << QList<int>{6, 0, 5} << idle;
        QTest::addRow("every motor at -1") << QList<int>{0, 8, 0xFFFF} << "m:-1,-1,-1,-1,-1,-1,-1,-1 b:0,0,0,0,0,0,0,0 c:0,0,0,0 g:0,0 f:0";
        QTest::addRow("counters") << QList<int>{4, 7, 300, 5, 0, 2} << "m:Y->N:2,0,0,0,0,0,0,N->Y:300 b:0,0,0,0,0,0,0,0 c:0,0,0,0 g:0,0 f:0";
        QTest::addRow("cams keep 6 bits, selector and guides 8") << QList<int>{1, 3, 0xFF, 2, 7, 0x1FF, 3, 1, 0x81}
                                                                 << "m:0,0,0,0,0,0,0,0 b:0,0,0,0,0,0,0,255 c:0,0,0,63 g:0,129 f:0";
        QTest::addRow("frequency test running") << QList<int>{0x82, 0, 0x14FF} << idle.left(idle.size() - 1) + "1";
    }
    void reports()
    {
        auto [reportTypeObjectValue, shown] = TestTable::fetch<QList<int>, QString>("reportTypeObjectValue", "shown");
        Recorder r;
        machine_.carriageTest().clear();
        MotoTest t(1, r.sender());
        t.load(machine_);
        for (int i = 0; i + 2 < reportTypeObjectValue.size(); i += 3)
            report(t, reportTypeObjectValue[i], reportTypeObjectValue[i + 1], reportTypeObjectValue[i + 2]);
        QCOMPARE(states(t), shown);
        QVERIFY(r.sent.isEmpty());
    }

private:
    // The carriage test commands knitsim received, as "type/object/value".
    QStringList testCommands()
    {
        QStringList out;
        for (const QString &line : sim_.send(QStringLiteral("journal"))) {
            const QByteArray b = QByteArray::fromHex(line.section(' ', 2).remove(' ').toLatin1());
            if (b.size() == 12 && quint8(b[0]) == 0x26 && b[5] == TestDatagram::Carriage)
                out << QStringLiteral("%1/%2/%3").arg(quint8(b[6])).arg(quint8(b[7])).arg(quint8(b[8]) | quint8(b[9]) << 8);
        }
        return out;
    }

    TestRoot root_;
    SimProcess sim_;
    MachineData machine_;
};

QTEST_MAIN(TestMotoTest)
#include "test_mototest.moc"
