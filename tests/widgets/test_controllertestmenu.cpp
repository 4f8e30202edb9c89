// The test menu against knitsim: the entry handshake of both tests and the roller items.
// Faults caught: an entry that goes on while the machine runs, after a refused or
// unanswered mode command, with a missing or short test file (a half-stale block), or
// that leaves the controller in a test mode after failing (the carriage test too); a leave
// repeated without end when the controller stays silent; a page that does not close on the
// controller's answer to its leave; rollers turned while the machine runs, or on the wrong key.
#include "modaldriver.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include "data/machinedata.h"
#include "machinetests/controllertestmenu.h"

#include <QTest>

class TestControllerTestMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("KNIT_TIMEOUT_SCALE", "0.05");
        QVERIFY2(sim_.start(), qPrintable(sim_.error()));
        io_ = TestBytes::readFile(sim_.file(QStringLiteral("io.tst")));
        QCOMPARE(io_.size(), 80);
    }

    // knitsim set up with the control lines, then a key on the menu: the messages and pages
    // met (their message line), and knitsim's traffic.
    void entry_data()
    {
        TestTable::columns<QStringList, int, QStringList, QStringList>("setup", "key", "shown", "traffic");
        const QString status = QStringLiteral("cmd 26/21/0");
        const QString ioTest = QStringLiteral("操作说明:1 = 打开红色指示灯 2 = 关闭红色指示灯");
        QTest::addRow("running: -1") << QStringList{"set motostatus 1"} << int(Qt::Key_2)
                                     << QStringList{"进入测试界面失败-1, 请重试 !"} << QStringList{status};
        QTest::addRow("refused: -2") << QStringList{"fault test entry"} << int(Qt::Key_2)
                                     << QStringList{"进入测试界面失败-2, 请重试 !"} << QStringList{status, "cmd 20/80/1"};
        QTest::addRow("no file: -3, left") << QStringList{"fault error io.tst"} << int(Qt::Key_2) << QStringList{"进入测试界面失败-3, 请重试 !"}
                                           << QStringList{status, "cmd 20/80/1", "RRQ io.tst", "cmd 20/80/0"};
        QTest::addRow("short file: -4, left") << QStringList{"short"} << int(Qt::Key_2) << QStringList{"进入测试界面失败-4, 请重试 !"}
                                              << QStringList{status, "cmd 20/80/1", "RRQ io.tst", "cmd 20/80/0"};
        QTest::addRow("carriage test left too") << QStringList{"fault error moto.tst"} << int(Qt::Key_1) << QStringList{"进入测试界面失败-3, 请重试 !"}
                                                << QStringList{status, "cmd 20/81/1", "RRQ moto.tst", "cmd 20/81/0"};
        QTest::addRow("silent leave: 10 tries") << QStringList{"fault error io.tst", "fault test silent"} << int(Qt::Key_2)
                                                << QStringList{"进入测试界面失败-3, 请重试 !"}
                                                << QStringList{status, "cmd 20/80/1", "RRQ io.tst"} + QStringList(10, "cmd 20/80/0");
        QTest::addRow("page until the answer") << QStringList{} << int(Qt::Key_2) << QStringList{ioTest}
                                               << QStringList{status, "cmd 20/80/1", "RRQ io.tst", "cmd 20/80/0"};
        QTest::addRow("rollers forward") << QStringList{} << int(Qt::Key_A) << QStringList{} << QStringList{status, "cmd 2a/1/11"};
        QTest::addRow("rollers backward on F2") << QStringList{} << int(Qt::Key_F2) << QStringList{} << QStringList{status, "cmd 2a/1/10"};
        QTest::addRow("no rollers while running") << QStringList{"set motostatus 1"} << int(Qt::Key_B) << QStringList{} << QStringList{status};
    }
    void entry()
    {
        auto [setup, key, shown, traffic] = TestTable::fetch<QStringList, int, QStringList, QStringList>("setup", "key", "shown", "traffic");
        for (const QString &line : QStringList{"fault clear", "set motostatus 0", "journal clear"} + setup) {
            if (line == QLatin1String("short"))
                QVERIFY(TestBytes::writeFile(sim_.file(QStringLiteral("io.tst")), io_.left(79)));
            else
                QVERIFY2(sim_.command(line), qPrintable(line));
        }
        ControllerTestMenu menu(machine_);
        QVERIFY(shownActive(&menu));
        // Escape closes a message, and asks a page to leave its test.
        ModalDriver driver;
        driver.escape();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QTRY_COMPARE(driver.texts, shown);
        QCOMPARE(driver.unexpected, 0);
        QTRY_VERIFY(!QApplication::activeModalWidget() || QApplication::activeModalWidget() == &menu);
        QTRY_COMPARE(sim_.traffic(), traffic);
        QVERIFY(TestBytes::writeFile(sim_.file(QStringLiteral("io.tst")), io_));
    }

private:
    TestRoot root_;
    MachineData machine_;
    SimProcess sim_;
    QByteArray io_;
};

QTEST_MAIN(TestControllerTestMenu)
#include "test_controllertestmenu.moc"
