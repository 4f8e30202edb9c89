// The whole main screen fed with real report datagrams on its ports, and its pieces. Faults
// caught: reports that do not reach the labels (row, pieces, times, loop values, needle, alarm
// and message texts), a UPS alarm that does not ask to shut down (or another that does),
// reports from a foreign address that change what is shown, a flood that loses reports or
// paints an older row last; a shut-down question that sends the shut-down while the carriage
// runs, on No, or reports success when the controller did not answer. Loading a job: a size
// not shown, a rejected pattern that does not drop the job or skips the work parameters, a
// hostile name read as a path (row counting itself is the job-file test's; a failed
// work-parameter save the quick keys' test's); lock states that leave command labels
// touchable; a repair that does not clear its mark; a copy that deletes the destination
// before it succeeds.
#include "mainscreeninternals.h"
#include "modaldriver.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include "data/machinedata.h"
#include "link/statuschannel.h"
#include "mainwin/buttonwarm.h"
#include "mainwin/labelmessage.h"
#include "mainwin/mainscreen.h"
#include "mainwin/rowdisplay.h"
#include "mainwin/shutdowndialog.h"
#include "params/paramrepairmenu.h"
#include "platform/panelenv.h"
#include "ui/fileoperatedialog.h"
#include "ui/listbuttonno.h"
#include "ui/markablelistmenu.h"
#include "ui/touchlabel.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QUdpSocket>

#include <memory>

using TestBytes::machine;
using TestBytes::readFile;
using TestBytes::writeFile;

Q_DECLARE_METATYPE(ShutdownDialog::Outcome)

class TestMainScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("KNIT_TIMEOUT_SCALE", "0.05");
        QVERIFY2(sim_.start(), qPrintable(sim_.error()));
        QVERIFY(sim_.command(QStringLiteral("set job")));
        ModalDriver driver;
        driver.pressOk().pressOk().pressOk();
        machine_.setJobName(QString());
        machine_.controllerState().clear();
        w_ = std::make_unique<MainScreen>(machine_);
        w_->start();
        QVERIFY(MainScreenInternals::statusChannel(*w_));
        QVERIFY(MainScreenInternals::statusChannel(*w_)->statusBound());
        QVERIFY(MainScreenInternals::statusChannel(*w_)->needleBound());
        MainScreenInternals::statusChannel(*w_)->setTraceStream(nullptr);
        QVERIFY(sender_.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0));
        QVERIFY(foreign_.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
    }
    void cleanupTestCase() { w_.reset(); }
    void init() { QVERIFY(sim_.command(QStringLiteral("set motostatus 0"))); }

    // Before any report: the main screen stands alone (every page is built when first opened)
    // and nothing wakes it, not even the needle field's repaint.
    void startBuildsOnlyTheMainScreen()
    {
        QVERIFY(w_->isVisible());
        const QWidgetList widgets = QApplication::allWidgets();
        for (QWidget *widget : widgets)
            QVERIFY2(!qobject_cast<QDialog *>(widget), widget->metaObject()->className());
        QVERIFY(!MainScreenInternals::needleTimer(*w_)->isActive());
    }

    void reports_data()
    {
        TestTable::columns<QByteArray, QString, QString>("report", "field", "text");
        QTest::addRow("%s", "knitting time") << machine(32, 0, 3725) << "knittime" << QStringLiteral("编织时间 : 01:02:05 / 00:00:00");
        QTest::addRow("%s", "loop rows") << machine(72, 12, 40) << "loopstart" << QStringLiteral("12");
        QTest::addRow("%s", "zeroing message") << machine(16, 0, 0) << "message" << QStringLiteral("系统归零, 请等待.  ");
        QTest::addRow("%s", "alarm text") << machine(21, 1, 0x0312) << "alarm" << QStringLiteral("机头F5保险丝报警 ! ");
        // The needle port: the stored value less 500.
        QTest::addRow("%s", "needle -100") << machine(0, 0, 400) << "needle" << QStringLiteral("-100");
    }
    void reports()
    {
        auto [report, field, text] = TestTable::fetch<QByteArray, QString, QString>("report", "field", "text");
        const bool alarm = field == QLatin1String("alarm");
        QVERIFY(alarm || fieldLabel(field));
        sender_.writeDatagram(report, QHostAddress::LocalHost, PanelEnv::port(field == QLatin1String("needle") ? 2700 : 2001));
        QTRY_COMPARE(alarm ? MainScreenInternals::buttonWarm(*w_)->text() : fieldLabel(field)->text(), text);
        QVERIFY(!alarm || MainScreenInternals::buttonWarm(*w_)->isVisible());
    }

    // Reports and the alarm button's release -> the history's lines, time left out. Faults: a
    // repeated alarm or a clear with nothing standing logged as an event, an acknowledgement
    // or a clear not logged, a line without the row and pieces the screen shows, a piece or a
    // start and stop missing from the production record.
    void history_data()
    {
        // steps: "alarm TYPE CODE", "clear", "ack", "row PIECES", "start", "stop"
        TestTable::columns<QStringList, QStringList, QStringList>("steps", "alarms", "production");
        QTest::addRow("raise, repeat, acknowledge, clear") << QStringList{"alarm 2 23", "alarm 2 23", "ack", "clear", "clear"}
            << QStringList{"raised 2 23 撞针报警 !  H 0005 4", "acknowledged 2 23 撞针报警 !  H 0005 4", "cleared 0 0  H 0005 4"}
            << QStringList();
        QTest::addRow("UPS, then another alarm") << QStringList{"alarm 2 32", "alarm 3 18", "clear"}
            << QStringList{"raised 2 32 UPS断电报警 !  H 0005 4", "raised 3 18 机头F5保险丝报警 !  H 0005 4", "cleared 0 0  H 0005 4"}
            << QStringList();
        QTest::addRow("knitting") << QStringList{"start", "row 5", "row 6", "stop"} << QStringList()
            << QStringList{"start H", "piece H 5 0", "piece H 6 0", "stop H"};
    }
    void history()
    {
        auto [steps, alarms, production] = TestTable::fetch<QStringList, QStringList, QStringList>("steps", "alarms", "production");
        machine_.setJobName(QStringLiteral("H"));
        const auto send = [this](const QByteArray &report) {
            const quint64 before = MainScreenInternals::statusChannel(*w_)->statusReports();
            sendStatus(report);
            QTRY_COMPARE(MainScreenInternals::statusChannel(*w_)->statusReports(), before + 1);
        };
        send(machine(20, 4, 0x8007));
        w_->history()->flush();
        const qint64 marks[2] = {QFileInfo(MachineHistory::alarmLogPath()).size(), QFileInfo(MachineHistory::productionLogPath()).size()};
        ModalDriver driver; // the UPS alarm's shut-down question gets Escape
        for (const QString &step : steps) {
            const QStringList w = step.split(QLatin1Char(' '));
            if (w[0] == QLatin1String("ack"))
                QTest::mouseClick(MainScreenInternals::buttonWarm(*w_), Qt::LeftButton);
            else if (w[0] == QLatin1String("alarm"))
                send(machine(21, 1, w[1].toInt() << 8 | w[2].toInt()));
            else if (w[0] == QLatin1String("clear"))
                send(machine(21, 1, 0));
            else if (w[0] == QLatin1String("row"))
                send(machine(20, w[1].toInt(), 0x8007));
            else
                send(machine(w[0] == QLatin1String("start") ? 17 : 19, 0, 0));
        }
        w_->history()->flush();
        // Only the UPS alarm asks to shut down.
        const QStringList asked = steps.contains(QLatin1String("alarm 2 32")) ? QStringList{"确定要关闭控制系统吗 ?"} : QStringList();
        QTRY_COMPARE(driver.texts, asked);
        const QString paths[2] = {MachineHistory::alarmLogPath(), MachineHistory::productionLogPath()};
        const QStringList expected[2] = {alarms, production};
        for (int i = 0; i < 2; ++i) {
            QStringList got;
            for (const QByteArray &line : readFile(paths[i]).mid(marks[i]).split('\n'))
                got << QString::fromUtf8(line).section(QLatin1Char('\t'), 1).replace(QLatin1Char('\t'), QLatin1Char(' '));
            got.removeAll(QString());
            QCOMPARE(got, expected[i]);
        }
    }

    void foreignAndShortChangeNothing()
    {
        sendStatus(machine(20, 1, 10));
        QTRY_COMPARE(fieldLabel(QStringLiteral("rownumber"))->text(), QStringLiteral("0008"));
        const quint64 handled = MainScreenInternals::statusChannel(*w_)->statusReports();
        foreign_.writeDatagram(machine(20, 2, 20), QHostAddress::LocalHost, PanelEnv::port(2001));
        foreign_.writeDatagram(machine(21, 1, 0x0217), QHostAddress::LocalHost, PanelEnv::port(2001));
        foreign_.writeDatagram(machine(0, 0, 9), QHostAddress::LocalHost, PanelEnv::port(2700));
        QTRY_COMPARE(MainScreenInternals::statusChannel(*w_)->dropped(), quint64(3));
        // A good report behind the bad ones: handled once they would have been.
        sendStatus(machine(20, 1, 10));
        QTRY_COMPARE(MainScreenInternals::statusChannel(*w_)->statusReports(), handled + 1);
        QCOMPARE(fieldLabel(QStringLiteral("rownumber"))->text(), QStringLiteral("0008"));
        QCOMPARE(int(machine_.controllerState().word(7)), 1);
        QVERIFY(!MainScreenInternals::buttonWarm(*w_)->isVisible());
        QVERIFY(MainScreenInternals::needleLabel(*w_)->text() != QLatin1String("-491"));
    }

    // A burst of needle and row reports, then silence: the last of each is shown, and the
    // needle repaint is not left running.
    void burstEndsOnLastValues()
    {
        const quint64 before = MainScreenInternals::statusChannel(*w_)->statusReports();
        const quint64 needles = MainScreenInternals::statusChannel(*w_)->needleReports();
        const int n = 500;
        for (int i = 1; i <= n; ++i) {
            // The panel runs on this thread: it takes what came now and then, so no buffer overflows.
            if (i % 50 == 0)
                QCoreApplication::processEvents();
            sender_.writeDatagram(machine(0, 0, static_cast<unsigned short>(600 + i)), QHostAddress::LocalHost, PanelEnv::port(2700));
            sendStatus(machine(20, static_cast<unsigned short>(i), static_cast<unsigned short>(3 + i)));
        }
        QTRY_COMPARE_WITH_TIMEOUT(MainScreenInternals::statusChannel(*w_)->statusReports(), before + n, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(MainScreenInternals::statusChannel(*w_)->needleReports(), needles + n, 5000);
        QTRY_COMPARE(MainScreenInternals::needleLabel(*w_)->text(), QString::number(100 + n));
        QTRY_COMPARE(fieldLabel(QStringLiteral("rownumber"))->text(), RowDisplay::toNum(4, 1 + n));
        QCOMPARE(fieldLabel(QStringLiteral("pieces"))->text(), QStringLiteral("完成件数 : %1 / 0").arg(n));
        QTRY_VERIFY(!MainScreenInternals::needleTimer(*w_)->isActive());
    }

    // The shut-down question against this screen's controller.
    void shutdown_data()
    {
        TestTable::columns<QString, bool, ShutdownDialog::Outcome, QString>("motostatus", "silent", "outcome", "message");
        QTest::addRow("%s", "no") << "0" << false << ShutdownDialog::Outcome::Declined << "";
        QTest::addRow("%s", "running") << "1" << false << ShutdownDialog::Outcome::Running << "机头正在运行, 不能关机 ! ";
        QTest::addRow("%s", "stopped") << "0" << false << ShutdownDialog::Outcome::ShuttingDown << "正在关机, 请稍等 ... ... ";
        QTest::addRow("%s", "controller silent") << "0" << true << ShutdownDialog::Outcome::Running << "与主控制器连接失败, 请检查通信线路 !";
    }
    void shutdown()
    {
        auto [motostatus, silent, outcome, message] = TestTable::fetch<QString, bool, ShutdownDialog::Outcome, QString>("motostatus", "silent", "outcome", "message");
        QVERIFY(sim_.command(QStringLiteral("journal clear")));
        QVERIFY(sim_.command(QStringLiteral("set motostatus ") + motostatus));
        if (silent)
            QVERIFY(sim_.command(QStringLiteral("fault silent")));
        ModalDriver driver;
        if (outcome != ShutdownDialog::Outcome::Declined)
            driver.pressOk().pressOk();
        else
            driver.pressCancel();
        QCOMPARE(ShutdownDialog::run(nullptr), outcome);
        QVERIFY(sim_.command(QStringLiteral("fault clear")));
        QVERIFY(sim_.command(QStringLiteral("set motostatus 0")));
        QCOMPARE(driver.texts.value(0), QStringLiteral("确定要关闭控制系统吗 ?"));
        QCOMPARE(driver.texts.value(1), message);
        QCOMPARE(driver.unexpected, 0);
        // The shut-down datagram: command 0x2A, object 1, action 32 (0x20), argument 0.
        QCOMPARE(sim_.traffic().contains(QStringLiteral("cmd 2a/1/20")), outcome == ShutdownDialog::Outcome::ShuttingDown);
    }

    void load_data()
    {
        // rows: the controller state's word 4
        // width: the run settings' word 0
        TestTable::columns<QString, int, int, bool, bool>("damage", "rows", "width", "accepted", "wrkRead");
        QTest::addRow("whole") << "" << 12 << 40 << true << true;
        QTest::addRow("bad checksum loads") << "checksum" << 12 << 40 << true << true;
        QTest::addRow("pattern rejected") << "pat" << 12 << 1 << false << true;
        QTest::addRow("program rejected") << "cnt" << 1 << 40 << false << true;
        QTest::addRow("no wrk") << "wrk" << 12 << 40 << false << false;
        QTest::addRow("hostile name") << "name" << 1 << 1 << false << false;
    }
    void load()
    {
        auto [damage, rows, width, accepted, wrkRead] = TestTable::fetch<QString, int, int, bool, bool>("damage", "rows", "width", "accepted", "wrkRead");
        QFile::remove(jobFile(".wrk"));
        QVERIFY(root_.makeJob(QStringLiteral("L"), 12, 40, 6));
        QByteArray cnt = readFile(jobFile(".cnt"));
        if (damage == QLatin1String("checksum")) {
            cnt[cnt.size() - 1] = char(cnt.at(cnt.size() - 1) + 1);
        } else if (damage == QLatin1String("cnt")) {
            cnt = cnt.left(200); // not whole records: a format error
        } else if (damage == QLatin1String("pat")) {
            QVERIFY(writeFile(jobFile(".pat"), QByteArray(3, '\0')));
        } else if (damage == QLatin1String("wrk")) {
            QVERIFY(QFile::remove(jobFile(".wrk")));
        }
        QVERIFY(writeFile(jobFile(".cnt"), cnt));
        // A marker in the work file shows whether it was read.
        if (damage != QLatin1String("wrk"))
            QVERIFY(writeFile(jobFile(".wrk"), readFile(jobFile(".wrk")).replace(0, 1, "\x5a")));
        machine_.work().setByte(0, 0);
        machine_.controllerState().setWord(4, 999);

        const QString name = damage == QLatin1String("name") ? QStringLiteral("../wave/L") : QStringLiteral("L");
        machine_.setJobName(name);
        w_->openJob(name);
        const QString size = QString::fromUtf8("宽 度: %1            长 度: %2");
        QCOMPARE(w_->findChild<QLabel *>(QStringLiteral("jobname"))->text(), QString::fromUtf8("名 称: ") + (accepted ? name : QString()));
        QCOMPARE(w_->findChild<QLabel *>(QStringLiteral("jobsize"))->text(), accepted ? size.arg(width).arg(rows) : size.arg(0).arg(0));
        QCOMPARE(int(machine_.controllerState().word(4)), rows);
        QCOMPARE(int(machine_.runSettings().word(0)), width);
        QCOMPARE(machine_.work().byte(0) == 0x5a, wrkRead);
        QCOMPARE(machine_.jobName().isEmpty(), !accepted);
    }

    // Unlocked at start-up; locked, no label takes a touch; display labels never do.
    void screenLock()
    {
        auto *command = w_->findChild<TouchLabel *>(QStringLiteral("pieces"));
        auto *display = w_->findChild<TouchLabel *>(QStringLiteral("knittime"));
        for (bool locked : {false, true, false}) {
            QCOMPARE(command->isClickable(), !locked);
            QVERIFY(!display->isClickable());
            w_->toggleScreenLock();
        }
        w_->toggleScreenLock();
    }

    // Each item stores or sends one reference copy and clears the mark of its pair; nothing
    // happens while the carriage runs.
    void repairMenu_data()
    {
        // row: item pressed (column 0)
        TestTable::columns<int, int, QString>("row", "maskAfter", "message");
        QTest::addRow("store system") << 0 << 2 << QString::fromUtf8("把当前的系统参数存入显示屏备份成功 !");
        QTest::addRow("send config") << 6 << 1 << QString::fromUtf8("把显示屏备份的个性化参数导到主板成功 !");
        QTest::addRow("carriage running") << 0 << 3 << QString::fromUtf8("机头正在运行, 请停止运行 !");
    }
    void repairMenu()
    {
        auto [row, maskAfter, message] = TestTable::fetch<int, int, QString>("row", "maskAfter", "message");
        if (maskAfter == 3)
            QVERIFY(sim_.command(QStringLiteral("set motostatus 1")));
        machine_.system().setWord(7, 0x0707);
        const QString paramDir = root_.file(QStringLiteral("/mnt/ide/knit/para/"));
        QVERIFY(writeFile(paramDir + "checksystem.sys", "old") && writeFile(paramDir + "checkconfig.cfg", QByteArray(200, 0x42)));
        QFile::remove(sim_.file("checkconfig.cfg"));

        ParamRepairMenu menu(machine_, w_.get(), 3);
        ModalDriver driver;
        driver.pressOk().pressOk(); // Yes to the question, then the result message
        menu.chooseItem(0, row);
        QCOMPARE(driver.texts.last(), message);
        QCOMPARE(int(menu.mask()), maskAfter);
        // Both items of a repaired pair lose their mark.
        for (int r : {0, 2, 4, 6}) {
            const bool marked = (maskAfter & (r < 4 ? 1 : 2)) != 0;
            QCOMPARE(menu.menu()->itemNo(0, r)->text().endsWith(QString::fromUtf8("(  需修复  )")), marked);
            QCOMPARE(int(menu.menu()->itemNo(0, r)->activeState()), marked ? 1 : 0);
        }
        // Stored: the panel's copy is the system block in memory; sent: the controller has the panel's copy.
        QCOMPARE(readFile(paramDir + "checksystem.sys") == machine_.system().toByteArray(), maskAfter == 2);
        QCOMPARE(readFile(sim_.file("checkconfig.cfg")) == readFile(paramDir + "checkconfig.cfg"), maskAfter == 1);
    }

    // A missing source: the dialog says so and waits for Exit; the destination stays. (Its
    // copies made whole are the start-up's reference copies and the imports'.)
    void copyDialog()
    {
        const QString dst = root_.file(QStringLiteral("/tmp/dst.bin"));
        QVERIFY(writeFile(dst, QByteArray("old")));
        ModalDriver driver;
        driver.passThrough.clear();
        bool said = false;
        driver.inspect([&said](QWidget *w) {
            for (QLabel *l : w->findChildren<QLabel *>())
                said = said || l->text().contains(QString::fromUtf8("从 : 源文件错误 !"));
        }).click(QStringLiteral("Button_quit"));
        QVERIFY(!FileOperateDialog::copy(root_.file(QStringLiteral("/tmp/none")), dst));
        QVERIFY(said);
        QCOMPARE(readFile(dst), QByteArray("old"));
    }

private:
    QString jobFile(const char *ext) const { return root_.file(QStringLiteral("/mnt/ide/knit/wave/L/L") + QLatin1String(ext)); }
    void sendStatus(const QByteArray &report)
    {
        sender_.writeDatagram(report, QHostAddress::LocalHost, PanelEnv::port(2001));
    }
    QLabel *fieldLabel(const QString &field)
    {
        if (field == QLatin1String("rownumber"))
            return MainScreenInternals::rowDisplay(*w_)->rowNumber();
        if (field == QLatin1String("loopstart"))
            return MainScreenInternals::rowDisplay(*w_)->loopValue(RowDisplay::LoopStart);
        if (field == QLatin1String("message"))
            return MainScreenInternals::labelMessage(*w_);
        if (field == QLatin1String("needle"))
            return MainScreenInternals::needleLabel(*w_);
        return w_->findChild<QLabel *>(field);
    }

    TestRoot root_;
    SimProcess sim_;
    MachineData machine_;
    std::unique_ptr<MainScreen> w_;
    QUdpSocket sender_;
    QUdpSocket foreign_;
};

QTEST_MAIN(TestMainScreen)
#include "test_mainscreen.moc"
