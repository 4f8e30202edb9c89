// The buzzer: with the device present each beep writes the 16-bit on and off values and holds
// for its length, and the start-up beep holds a second; with it missing (or switched off) a
// beep writes nothing and takes no time (faults: a beep left on, a wait that returns early, a
// silent device still costing time).
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
    void cleanup() { BuzzerDevice::close(); }
    void beeps_data();
    void beeps();
};

void TestBuzzer::beeps_data()
{
    QTest::addColumn<bool>("device");
    QTest::addColumn<bool>("switchedOff");
    QTest::addColumn<QList<int>>("lengths"); // empty: the start-up beep of buzzer_init
    QTest::addRow("one key beep") << true << false << QList<int>{20};
    QTest::addRow("three beeps") << true << false << QList<int>{20, 0, 35};
    QTest::addRow("start-up beep") << true << false << QList<int>{};
    QTest::addRow("device missing") << false << false << QList<int>{20, 20, 20};
    QTest::addRow("switched off") << true << true << QList<int>{20, 20};
    QTest::addRow("start-up, device missing") << false << false << QList<int>{};
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
    QElapsedTimer clock;
    clock.start();
    const bool startUp = lengths.isEmpty();
    if (startUp)
        buzzer_init();
    const bool opened = startUp ? BuzzerDevice::isOpen() : BuzzerDevice::open();
    qputenv("KNIT_BUZZER", "off");
    QCOMPARE(opened, device && !switchedOff);
    if (startUp && opened)
        QVERIFY(clock.elapsed() >= 1000);

    for (int ms : lengths) {
        QElapsedTimer one;
        one.start();
        buzzer(ms);
        if (opened)
            QVERIFY2(one.elapsed() >= ms, qPrintable(QString::number(one.elapsed())));
    }
    if (!opened)
        QVERIFY2(clock.elapsed() < 5, qPrintable(QString::number(clock.elapsed())));
    BuzzerDevice::close();

    QFile f(path);
    const int beeps = opened ? int(lengths.size()) + (startUp ? 1 : 0) : 0;
    const QByteArray expected = QByteArray::fromHex("01000000").repeated(beeps);
    QCOMPARE(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(), expected);
}

QTEST_GUILESS_MAIN(TestBuzzer)
#include "test_buzzer.moc"
