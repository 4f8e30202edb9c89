// Catches an alarm button that stays visible or flashing after it is cleared, does not take
// Escape while shown, keeps the old text under a new alarm or does not blink; a message line
// that drops the second message on setMessage1, hides itself on a set or keeps text after a
// cancel; a clock in the wrong format; and a shut-down question that sends the shut-down
// while the carriage runs, on No, or reports success when the controller did not answer.
#include "mainwin/buttonwarm.h"
#include "mainwin/labelmessage.h"
#include "mainwin/labeltime.h"
#include "mainwin/shutdowndialog.h"
#include "modaldriver.h"
#include "portoffset.h"
#include "simprocess.h"
#include "testroot.h"

#include <QTest>
#include <QTime>

Q_DECLARE_METATYPE(ShutdownDialog::Outcome)

class TestAlarmWidgets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("KNIT_TIMEOUT_SCALE", "0.2");
        PortOffset::useFree();
    }

    void warmLifecycle()
    {
        QWidget parent;
        ButtonWarm warm(&parent, "ButtonWarm");
        parent.show();
        QVERIFY(warm.isHidden());
        QVERIFY(!warm.isFlashing());
        warm.setWarm(2, 23);
        QVERIFY(!warm.isHidden());
        QVERIFY(warm.isFlashing());
        QCOMPARE(warm.shortcut(), QKeySequence(Qt::Key_Escape));
        warm.setWarm(3, 54);
        QCOMPARE(warm.text(), QStringLiteral("沉降马达故障报警 ! "));
        QVERIFY(!warm.isDown());
        warm.timeout();
        QVERIFY(warm.isDown());
        warm.timeout();
        QVERIFY(!warm.isDown());
        warm.timeout();
        warm.cancelWarm();
        QVERIFY(warm.isHidden());
        QVERIFY(!warm.isFlashing());
        QVERIFY(!warm.isDown());
        QVERIFY(warm.text().isEmpty());
        QCOMPARE(warm.shortcut(), QKeySequence());
    }

    void warmFlashesByTimer()
    {
        ButtonWarm warm;
        warm.setWarm(1, 6);
        QTRY_VERIFY_WITH_TIMEOUT(warm.isDown(), 2500);
        QTRY_VERIFY_WITH_TIMEOUT(!warm.isDown(), 2500);
    }

    void message_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("visible");
        QTest::addRow("%s", "built hidden") << QStringList{} << " " << "" << "" << false;
        QTest::addRow("%s", "both") << QStringList{"set:a:b"} << "a b" << "a" << "b" << true;
        QTest::addRow("%s", "first keeps second") << QStringList{"set:a:b", "one:c"} << "c b" << "c" << "b" << true;
        QTest::addRow("%s", "first alone") << QStringList{"one:c"} << "c " << "c" << "" << true;
        QTest::addRow("%s", "cancel") << QStringList{"set:a:b", "cancel"} << " " << "" << "" << false;
        QTest::addRow("%s", "set after cancel shows") << QStringList{"cancel", "set:x:"} << "x " << "x" << "" << true;
        QTest::addRow("%s", "empty set stays shown") << QStringList{"set::"} << " " << "" << "" << true;
    }
    void message()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, shown);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(bool, visible);
        QWidget parent;
        LabelMessage line(&parent, "LabelMessage");
        parent.show();
        for (const QString &step : steps) {
            const QStringList part = step.split(QLatin1Char(':'));
            if (part[0] == QLatin1String("set"))
                line.setMessage(part[1], part[2]);
            else if (part[0] == QLatin1String("one"))
                line.setMessage1(part[1]);
            else
                line.cancelMessage();
        }
        QCOMPARE(line.text(), shown);
        QCOMPARE(line.getMessage1(), first);
        QCOMPARE(line.getMessage2(), second);
        QCOMPARE(line.isVisible(), visible);
        QCOMPARE(line.alignment(), Qt::AlignCenter);
    }

    // Zero-padded 24-hour time, and the label shows now.
    void clock()
    {
        QCOMPARE(LabelTime::timeText(QTime(1, 2, 5)), QStringLiteral("01:02:05"));
        QCOMPARE(LabelTime::timeText(QTime(23, 59, 59)), QStringLiteral("23:59:59"));
        LabelTime label;
        const int off = qAbs(QTime::fromString(label.text(), QStringLiteral("HH:mm:ss")).secsTo(QTime::currentTime()));
        QVERIFY(off <= 2 || off >= 86398);
    }

    void shutdown_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("motostatus");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<ShutdownDialog::Outcome>("outcome");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("action32");
        QTest::addRow("%s", "no") << false << "0" << false << ShutdownDialog::Outcome::Declined << "" << 0;
        QTest::addRow("%s", "running") << true << "1" << false << ShutdownDialog::Outcome::Running << "机头正在运行, 不能关机 ! " << 0;
        QTest::addRow("%s", "stopped") << true << "0" << false << ShutdownDialog::Outcome::ShuttingDown << "正在关机, 请稍等 ... ... " << 1;
        QTest::addRow("%s", "controller silent") << true << "0" << true << ShutdownDialog::Outcome::Running << "机头正在运行, 不能关机 ! " << 0;
    }
    void shutdown()
    {
        QFETCH(bool, yes);
        QFETCH(QString, motostatus);
        QFETCH(bool, silent);
        QFETCH(ShutdownDialog::Outcome, outcome);
        QFETCH(QString, message);
        QFETCH(int, action32);
        TestRoot root;
        SimProcess sim;
        QString why;
        QVERIFY2(sim.start(&why), qPrintable(why));
        QVERIFY(sim.command(QStringLiteral("set motostatus ") + motostatus));
        if (silent)
            QVERIFY(sim.command(QStringLiteral("fault silent")));
        ModalDriver driver;
        if (yes)
            driver.pressOk().pressOk();
        else
            driver.pressCancel();
        QCOMPARE(ShutdownDialog::run(nullptr), outcome);
        QCOMPARE(driver.texts().value(0), QStringLiteral("确定要关闭控制系统吗 ?"));
        QCOMPARE(driver.texts().value(1), message);
        QCOMPARE(driver.unexpected(), 0);
        QStringList journal;
        QVERIFY(sim.command(QStringLiteral("journal"), &journal));
        // The shut-down datagram: command 0x2A, object 1, action 32 (0x20), argument 0.
        QCOMPARE(int(journal.filter(QStringLiteral("2a 41 00 00 1b 01 20 00 00 00")).size()), action32);
    }
};

QTEST_MAIN(TestAlarmWidgets)
#include "test_alarmwidgets.moc"
