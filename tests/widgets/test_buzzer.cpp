// The buzzer: with the device present each beep writes the 16-bit on and off values and holds
// for its length; with it missing (or switched off) a beep writes nothing and takes no time
// (faults: a beep left on, a wait that returns early, a silent device still costing time).
#include "testroot.h"
#include "platform/buzzerdevice.h"
#include "platform/panelpaths.h"
#include "ui/buzzer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

class TestBuzzer : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void beeps_data();
    void beeps();
    void startBeep();
};

void TestBuzzer::cleanup()
{
    BuzzerDevice::close();
}

void TestBuzzer::beeps_data()
{
    QTest::addColumn<bool>("device");
    QTest::addColumn<bool>("switchedOff");
    QTest::addColumn<QList<int>>("lengths");
    QTest::addRow("one key beep") << true << false << QList<int>{20};
    QTest::addRow("zero length") << true << false << QList<int>{0};
    QTest::addRow("three beeps") << true << false << QList<int>{20, 0, 35};
    QTest::addRow("device missing") << false << false << QList<int>{20, 20, 20};
    QTest::addRow("switched off") << true << true << QList<int>{20, 20};
}

void TestBuzzer::beeps()
{
    QFETCH(bool, device);
    QFETCH(bool, switchedOff);
    QFETCH(QList<int>, lengths);
    TestRoot root;
    const QString path = PanelPaths::buzzerDevice();
    if (device) {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    qputenv("KNIT_BUZZER", switchedOff ? "off" : "on");
    const bool opened = BuzzerDevice::open();
    qputenv("KNIT_BUZZER", "off");
    QCOMPARE(opened, device && !switchedOff);

    QElapsedTimer clock;
    clock.start();
    int total = 0;
    for (int ms : lengths) {
        QElapsedTimer one;
        one.start();
        buzzer(ms);
        if (opened)
            QVERIFY2(one.elapsed() >= ms, qPrintable(QString::number(one.elapsed())));
        total += ms;
    }
    if (!opened)
        QVERIFY2(clock.elapsed() < 5, qPrintable(QString::number(clock.elapsed())));
    BuzzerDevice::close();

    QByteArray expected;
    if (opened) {
        for (int i = 0; i < lengths.size(); ++i)
            expected += QByteArray::fromHex("01000000");
    }
    QFile f(path);
    QCOMPARE(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(), expected);
}

// buzzer_init opens the device and sounds one beep of a second.
void TestBuzzer::startBeep()
{
    TestRoot root;
    const QString path = PanelPaths::buzzerDevice();
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    qputenv("KNIT_BUZZER", "on");
    QElapsedTimer clock;
    clock.start();
    buzzer_init();
    QVERIFY(clock.elapsed() >= 1000);
    qputenv("KNIT_BUZZER", "off");
    QVERIFY(BuzzerDevice::isOpen());
    BuzzerDevice::close();
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray::fromHex("01000000"));
}

QTEST_GUILESS_MAIN(TestBuzzer)
#include "test_buzzer.moc"
