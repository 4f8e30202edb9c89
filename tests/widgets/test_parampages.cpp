// The system tools menu and its parameter pages, offscreen against knitsim: for each page the
// menu's password, one value typed on its cell, the datagrams in their update bracket and the
// value where the controller keeps it. Faults caught: a cell sent under the wrong index or
// encoding (offset, sign, choice), a bracket not opened or closed, a page entered without the
// password or while the carriage runs; a close given up on in silence (its count of tries is
// the update bracket's test); a taught position that is not the one the question showed;
// non-numbers sent; a never-written density backup restored; a short config.cfg saved over the
// check copy; a failed save that loses the old file.
#include "menuchoice.h"
#include "modaldriver.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include "data/machinedata.h"
#include "data/carrierspeedtable.h"
#include "params/carriageaccelerationframe.h"
#include "params/carrierspeedcorrectionframe.h"
#include "params/densitycorrectionframe.h"
#include "params/densityidleframe.h"
#include "params/frequentsettingsframe.h"
#include "params/personalisationframe.h"
#include "params/rackingcorrectionframe.h"
#include "params/runningparamframe.h"
#include "params/systemparamframe.h"
#include "params/systemtoolsmenu.h"
#include "platform/atomicfile.h"
#include "platform/panelpaths.h"
#include "ui/celledit.h"
#include "ui/quickpages.h"

#include <QTest>

#include <memory>

namespace {

using Answers = std::function<void(ModalDriver &)>;

// Keys for a page: "v" "^" "<" ">" the arrows, "E" the keypad Enter, "x" an emptied cell (as a
// paste would leave it), anything else typed; sent to whatever has the focus in the modal
// widget at that moment. What the keys open on top is answered by answers (a driver's timer
// does not fire while its own action runs, so each level has its own driver); what it showed
// is added to seen.
void play(QWidget *modal, const QString &script, const Answers &answers = {}, QStringList *seen = nullptr)
{
    ModalDriver inner;
    inner.passThrough << modal->metaObject();
    if (answers)
        answers(inner);
    // Shown, loaded and its first cell focused: then the help line is written.
    const QLabel *help = modal->findChild<QLabel *>(QStringLiteral("edit_msg"));
    QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == modal && help && !help->text().isEmpty(), 10000);
    for (const QChar c : script) {
        QWidget *to = QApplication::focusWidget() && modal->isAncestorOf(QApplication::focusWidget())
            ? QApplication::focusWidget() : modal->focusWidget();
        static const QHash<QChar, Qt::Key> keys{{'v', Qt::Key_Down}, {'^', Qt::Key_Up}, {'<', Qt::Key_Left},
                                                {'>', Qt::Key_Right}, {'E', Qt::Key_Enter}};
        if (c == 'x')
            qobject_cast<QLineEdit *>(to)->clear();
        else if (keys.contains(c))
            QTest::keyClick(to, keys.value(c), c == 'E' ? Qt::KeypadModifier : Qt::NoModifier);
        else
            QTest::keyClicks(to, QString(c));
    }
    if (seen)
        *seen += inner.texts;
}

// Scripts for what opens on top, in turn: an input gets the text, a dialog is worked and closed,
// a question gets "yes".
Answers scripted(QStringList next, QStringList *seen)
{
    return [next, seen](ModalDriver &d) {
        if (next.isEmpty())
            return;
        const QString first = next.first();
        if (first == QLatin1String("yes"))
            d.pressOk();
        else if (first.contains('E'))
            d.inspect([=](QWidget *m) { play(m, first, scripted(next.mid(1), seen), seen); }).escape();
        else
            d.typeAndReturn(first);
    };
}

// Runs a page's frame with the keys of script; the messages it showed.
QStringList runPage(QDialog &frame, const QString &script, const Answers &answers = {})
{
    QStringList seen;
    // Before the frame's own start: what its loading shows is answered too.
    QTimer::singleShot(0, &frame, [&] {
        play(&frame, script, answers, &seen);
        frame.reject();
    });
    frame.exec();
    return seen;
}

quint16 word(const QByteArray &block, int i)
{
    return quint16(quint8(block[2 * i]) | quint8(block[2 * i + 1]) << 8);
}

// A menu choice: the item (after the more page when more), its password, the keys on the page
// and for what it opens on top (an input or the racking's correction dialog), the value the
// controller then keeps ("" none), and the word of a block of the controller it lands in.
struct MenuCase
{
    bool more;
    const char *item;
    QString password;
    QStringList pages;
    const char *value;
    const char *file;
    int word, stored;
    QStringList shown = {};
    int object = -1;
    const char *fault = nullptr; // knitsim's, while the page is worked
};

} // namespace

Q_DECLARE_METATYPE(MenuCase)

class TestParamPages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("KNIT_TIMEOUT_SCALE", "0.25");
        QVERIFY2(sim_.start(), qPrintable(sim_.error()));
        QVERIFY(sim_.command(QStringLiteral("set racking 20")));
        machine_.system().fill(TestBytes::readFile(sim_.file(QStringLiteral("file.sys"))));
    }
    void init()
    {
        QVERIFY(sim_.command(QStringLiteral("journal clear")));
        QVERIFY(sim_.command(QStringLiteral("set motostatus 0")));
    }

    void menu_data()
    {
        QTest::addColumn<MenuCase>("c");
        const QString pw = QStringLiteral("7063");
        QTest::addRow("system: selector -10") << MenuCase{false, "2.系统参数设置", pw, {"vvvvvvvv-10E"}, "0 8 490", "file.sys", 38, 490, {}, 0};
        QTest::addRow("running: cell 22 is word 29") << MenuCase{false, "1.工作参数设置", {}, {">vvvvvvvvvv7E"}, "1 29 7", "file.sys", 29, 7, {}, 1};
        QTest::addRow("density: -100") << MenuCase{false, "3.密度电机修正", pw, {">-100E"}, "7 8 400", "file.sys", 68, 400, {}, 7};
        QTest::addRow("idle density") << MenuCase{false, "4.不工作密度设置", {}, {"vvv350E"}, "7 19 350", "file.sys", 79, 350, {}, 7};
        QTest::addRow("racking: -0 and 3") << MenuCase{false, "5.摇床位置修正", pw, {"vE", ">3E<-0E"}, "8 1 997", "file.sys", 85, 997, {}, 8};
        QTest::addRow("acceleration type 3 item 4") << MenuCase{true, "1.机头加减速类型设置", {}, {">>>vv500E"}, "10 15 500", "file.sys", 153, 500, {}, 10};
        QTest::addRow("personalisation") << MenuCase{true, "2.机器个性化参数设置", {}, {">vvvvv2E", "3761"}, "32 80 2", "config.cfg", 80, 2, {}, 32};
        QTest::addRow("carrier: -30 moving left") << MenuCase{true, "F1.纱嘴停放与机头速度对照表", pw, {"-30E"}, "16 160 70", "speed.mth", 224, 70, {}, 16};
        QTest::addRow("close unanswered") << MenuCase{false, "4.不工作密度设置", {}, {"vvv350E"}, "7 19 350", "file.sys", 79, 350,
                                                      {"参数设置失败, 请检查网络 !"}, 7, "fault refuse 0x20 7 1"};
        QTest::addRow("racking: whole column refused") << MenuCase{false, "5.摇床位置修正", pw, {"M", "yes"}, "", "", 0, 0, {}, 8, "fault refuse 0x22 8"};
        QTest::addRow("wrong password") << MenuCase{false, "5.摇床位置修正", "7064", {}, "", "", 0, 0, {"密码错误, 请重新输入 !"}};
        QTest::addRow("password cancelled") << MenuCase{false, "2.系统参数设置", "", {}, "", "", 0, 0};
        QTest::addRow("carriage running") << MenuCase{false, "1.工作参数设置", {}, {}, "", "", 0, 0, {"机头正在运行, 不能设置 !"}};
    }
    void menu()
    {
        QFETCH(MenuCase, c);
        QVERIFY(sim_.command(QStringLiteral("set motostatus %1").arg(c.shown.contains("机头正在运行, 不能设置 !") ? 1 : 0)));
        if (c.fault)
            QVERIFY(sim_.command(QLatin1String(c.fault)));
        // The menu's own parameter pages only: no other screen's page is chosen here.
        const QuickPages pages;
        SystemToolsMenu menu(machine_, pages);
        // Answers the menu's questions; leaves the page alone and is gone once it shows, whose own
        // dialogs play() answers.
        auto driver = std::make_unique<ModalDriver>();
        driver->passThrough << QList<const QMetaObject *>{
            &SystemParamFrame::staticMetaObject, &RunningParamFrame::staticMetaObject, &DensityCorrectionFrame::staticMetaObject,
            &DensityIdleFrame::staticMetaObject, &RackingCorrectionFrame::staticMetaObject, &CarriageAccelerationFrame::staticMetaObject,
            &PersonalisationFrame::staticMetaObject, &CarrierSpeedCorrectionFrame::staticMetaObject};
        if (c.more) {
            driver->typeAndReturn(QStringLiteral("7063"));
            QVERIFY(chooseShown(menu.menu(), QStringLiteral("F8.更多系统工具菜单")));
            QCOMPARE(menu.page(), SystemToolsMenu::More);
        }
        if (!c.password.isNull())
            c.password.isEmpty() ? driver->escape() : driver->typeAndReturn(c.password);
        // The page is worked once it has loaded and shows its help, from the top of its own event
        // loop (not from within the transfer dialog its loading runs).
        QStringList seen = driver->texts;
        std::unique_ptr<ModalDriver> after;
        QTimer page;
        QObject::connect(&page, &QTimer::timeout, [&] {
            auto *frame = qobject_cast<ParamFrame *>(QApplication::activeModalWidget());
            if (!frame || frame->msgLabel()->text().isEmpty())
                return;
            page.stop();
            seen = driver->texts;
            driver.reset();
            play(frame, c.pages.value(0), scripted(c.pages.mid(1), &seen), &seen);
            frame->reject();
            after = std::make_unique<ModalDriver>(); // the menu's word on the closing bracket
            after->pressOk();
        });
        page.start(10);
        const int before = seen.size();
        QVERIFY(chooseShown(menu.menu(), QString::fromUtf8(c.item)));
        if (driver)
            seen = driver->texts;
        if (after)
            seen += after->texts;
        QVERIFY(sim_.command(QStringLiteral("fault clear")));
        QCOMPARE(seen.mid(before).filter(QStringLiteral("!")), c.shown);
        const QStringList traffic = sim_.traffic().filter(QStringLiteral("cmd"));
        if (c.object < 0) {
            QVERIFY2(traffic.filter(QStringLiteral("cmd 2")).filter(QRegularExpression("cmd 2[02]")).isEmpty(), qPrintable(traffic.join(',')));
            return;
        }
        const QString group = QString::number(c.object, 16);
        QCOMPARE(traffic.value(1), QStringLiteral("cmd 20/%1/1").arg(group));
        QCOMPARE(traffic.constLast(), QStringLiteral("cmd 20/%1/0").arg(group));
        // No value kept: one was sent all the same, and refused.
        QVERIFY2(*c.value || !traffic.filter(QStringLiteral("cmd 22/%1/").arg(group)).isEmpty(), qPrintable(traffic.join(',')));
        QVERIFY2(!*c.value || sim_.send(QStringLiteral("state")).contains(QStringLiteral("value ") + c.value), c.value);
        if (*c.file)
            QCOMPARE(int(word(TestBytes::readFile(sim_.file(QLatin1String(c.file))), c.word)), c.stored);
        // The panel keeps what the controller took, its close answered or not.
        if (QLatin1String(c.file) == QLatin1String("file.sys"))
            QCOMPARE(int(machine_.system().word(std::size_t(c.word))), c.stored);
        if (c.object == 32)
            QCOMPARE(TestBytes::readFile(PanelPaths::data("/para/checkconfig.cfg")), TestBytes::readFile(sim_.file("config.cfg")));
        if (c.object == 16)
            QCOMPARE(int(word(TestBytes::readFile(CarrierSpeedTable::path()), c.word)), c.stored);
    }

    // Quick function 2's page: the piece target and the clearing as actions 6 and 7, a setting
    // in its own bracket; each where the controller keeps it.
    void constantParams()
    {
        QVERIFY(sim_.command(QStringLiteral("set knt 14 5")));
        FrequentSettingsFrame frame(machine_);
        QCOMPARE(runPage(frame, "v20EvEv7E", [](ModalDriver &d) { d.pressOk(); }), QStringList{"确定要清除已经完成的件数吗 ?"});
        QCOMPARE(sim_.traffic(), QStringList({"cmd 26/21/0", "cmd 2a/1/6", "cmd 26/21/0", "cmd 2a/1/7", "cmd 26/21/0", "cmd 20/1/1",
                                              "cmd 22/1/6", "cmd 20/1/0"}));
        const QByteArray knt = TestBytes::readFile(sim_.file(QStringLiteral("file.knt")));
        QCOMPARE(QList<int>({word(knt, 8), word(knt, 7), machine_.controllerState().word(8), machine_.controllerState().word(7)}), QList<int>({20, 0, 20, 0}));
        QCOMPARE(int(word(TestBytes::readFile(sim_.file(QStringLiteral("file.sys"))), 6)), 7);
        QCOMPARE(int(machine_.system().word(6)), 7);
    }

    // Reports move the carriage while the question is open: the position asked about is sent.
    void teachingSendsShownPosition()
    {
        machine_.controllerState().setWord(6, 512);
        SystemParamFrame frame(machine_);
        const QStringList shown = runPage(frame, "E", [this](ModalDriver &d) {
            d.inspect([this](QWidget *) { machine_.controllerState().setWord(6, 700); }).pressOk();
        });
        QCOMPARE(shown, QStringList{"设置针零位为: 12"});
        QVERIFY(sim_.send(QStringLiteral("state")).contains(QStringLiteral("value 0 0 512")));
        QCOMPARE(frame.page()->cell(0, 0)->text(), QStringLiteral("12"));
    }

    // Refused before anything is sent: an emptied cell, a number past 16 bits that would wrap
    // into the range, a density backup never written, a config.cfg cut short.
    void refusals_data()
    {
        TestTable::columns<int, QString, QStringList>("page", "script", "shown");
        const QString range = QStringLiteral("参数范围不正确, 请查看参数范围 !");
        const QString unreadable = QStringLiteral("打开个性化参数文件失败 !");
        QTest::addRow("running: emptied sinker cell") << 0 << ">xE" << QStringList{range};
        QTest::addRow("system: 65537 for 1") << 1 << ">>vvvvvvvv65537E" << QStringList{range};
        QTest::addRow("density: backup never written") << 2 << "B" << QStringList{"确定要将备份号1覆盖到修正值吗 ?", range};
        QTest::addRow("personalisation: short config.cfg") << 3 << "5E" << QStringList{unreadable, unreadable};
    }
    void refusals()
    {
        auto [page, script, shown] = TestTable::fetch<int, QString, QStringList>("page", "script", "shown");
        QFile::remove(PanelPaths::data("/para/checkconfig.cfg"));
        QFile::remove(PanelPaths::data("/para/densitybackup.bin"));
        const QByteArray config = TestBytes::readFile(sim_.file("config.cfg"));
        QVERIFY(TestBytes::writeFile(sim_.file("config.cfg"), config.left(page == 3 ? 100 : 200)));
        std::unique_ptr<QDialog> frame;
        frame.reset(page == 0   ? static_cast<QDialog *>(new RunningParamFrame(machine_))
                    : page == 1 ? static_cast<QDialog *>(new SystemParamFrame(machine_))
                    : page == 2 ? static_cast<QDialog *>(new DensityCorrectionFrame(machine_))
                                : new PersonalisationFrame(machine_));
        const QStringList seen = runPage(*frame, script, [](ModalDriver &d) { d.pressOk(); });
        QVERIFY(TestBytes::writeFile(sim_.file("config.cfg"), config));
        QCOMPARE(seen, shown);
        QVERIFY(sim_.traffic().filter(QStringLiteral("cmd 22")).isEmpty());
        QVERIFY(!QFile::exists(PanelPaths::data("/para/checkconfig.cfg")));
    }

    // Personalisation to and from the stick: a whole file reaches the controller and the check
    // copy, a short one nothing; the update left for the transfer and entered again either way.
    void personalisationStick_data()
    {
        // size: of the stick's file; 0: export
        // shown: at the end
        TestTable::columns<int, QString>("size", "shown");
        QTest::addRow("import") << 200 << "机器个性化参数导入完成, 请重新启动 !";
        QTest::addRow("import of a short file") << 100 << "机器个性化参数导入失败, 请重试 !";
        QTest::addRow("export") << 0 << "导出文件完毕 !";
    }
    void personalisationStick()
    {
        auto [size, shown] = TestTable::fetch<int, QString>("size", "shown");
        QVERIFY(TestBytes::writeFile(root_.file("/dev/scsi/host0/bus0/target0/lun0/part1"), {}));
        const QString onStick = root_.file(size ? "/mnt/usb/config7.cfg" : "/mnt/usb/config.cfg");
        QFile::remove(onStick);
        QFile::remove(PanelPaths::data("/para/checkconfig.cfg"));
        const QByteArray before = TestBytes::readFile(sim_.file(QStringLiteral("config.cfg")));
        const QByteArray file = QByteArray(size, '\x05');
        QVERIFY(!size || TestBytes::writeFile(onStick, file));
        PersonalisationFrame frame(machine_);
        const QStringList seen = runPage(frame, size ? "A" : "B", [size = size](ModalDriver &d) {
            if (size)
                d.typeAndReturn(QStringLiteral("3761")).select(QStringLiteral("config7.cfg"));
            d.postClick(QStringLiteral("Benter")).pressOk();
        });
        QCOMPARE(seen.value(seen.size() - 1), shown);
        const QByteArray now = TestBytes::readFile(sim_.file(QStringLiteral("config.cfg")));
        QCOMPARE(now, size == 200 ? file : before);
        QCOMPARE(QFile::exists(PanelPaths::data("/para/checkconfig.cfg")), size == 200);
        QVERIFY(size != 200 || TestBytes::readFile(PanelPaths::data("/para/checkconfig.cfg")) == file);
        QVERIFY(size || TestBytes::readFile(onStick) == before);
        const QStringList bracket = sim_.traffic().filter(QStringLiteral("cmd 20/20"));
        QCOMPARE(bracket, QStringList({"cmd 20/20/0", "cmd 20/20/1"}));
        QVERIFY(TestBytes::writeFile(sim_.file(QStringLiteral("config.cfg")), before));
    }

    // A full disk: the controller and the carrier speed table have the value, the old file stays whole.
    void failedSaveKeepsOldFile()
    {
        const QByteArray old = TestBytes::readFile(CarrierSpeedTable::path());
        CarrierSpeedCorrectionFrame frame(machine_);
        AtomicFile::setWriteLimitForTesting(0);
        const QStringList shown = runPage(frame, "v-20E");
        AtomicFile::setWriteLimitForTesting(-1);
        QCOMPARE(shown, QStringList{"保存系统备份参数失败, 请重试 !"});
        QVERIFY(sim_.send(QStringLiteral("state")).contains(QStringLiteral("value 16 162 80")));
        QCOMPARE(int(machine_.carrierSpeedTable().word(226)), 80);
        QCOMPARE(TestBytes::readFile(CarrierSpeedTable::path()), old);
    }

private:
    TestRoot root_;
    SimProcess sim_;
    MachineData machine_;
};

QTEST_MAIN(TestParamPages)
#include "test_parampages.moc"
