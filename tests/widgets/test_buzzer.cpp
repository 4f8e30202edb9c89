// The buzzer, read back from a plain file standing for the device. Faults caught: a beep left
// on (each beep writes on and off), a wait shorter than the beep, a missing device that still
// costs time; a widget silent on a key it handles, a doubled beep from two connected signals,
// a beep on a key it ignores.
#include "testbytes.h"
#include "testroot.h"

#include "platform/buzzerdevice.h"
#include "platform/panelpaths.h"
#include "ui/buzzer.h"
#include "ui/mybutton.h"
#include "ui/myhexcombobox.h"
#include "ui/mylistbox.h"

#include <QElapsedTimer>
#include <QTest>

#include <functional>

using Act = std::function<void()>;
Q_DECLARE_METATYPE(Act)

namespace {

qint64 g_mark = -1;

// Beeps of the set-up do not count: each case marks the device once its widget is ready.
void key(QWidget *w, Qt::Key k)
{
    g_mark = QFileInfo(PanelPaths::buzzerDevice()).size();
    QTest::keyClick(w, k);
}

} // namespace

class TestBuzzer : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        BuzzerDevice::close();
        qputenv("KNIT_BUZZER", "on");
    }

    void device()
    {
        TestRoot root;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!BuzzerDevice::open());
        buzzer(20); // no device: silent and instant
        QVERIFY(clock.elapsed() < 5);
        QVERIFY(TestBytes::writeFile(PanelPaths::buzzerDevice(), QByteArray()));
        QVERIFY(BuzzerDevice::open());
        buzzer(35);
        QVERIFY(clock.elapsed() >= 35);
        BuzzerDevice::close();
        QCOMPARE(TestBytes::readFile(PanelPaths::buzzerDevice()), QByteArray::fromHex("01000000"));
    }

    void widgets_data()
    {
        QTest::addColumn<Act>("act");
        QTest::addColumn<int>("beeps");
        QTest::addRow("button click") << Act([] { MYBUTTON b(QStringLiteral("OK")); key(&b, Qt::Key_Space); }) << 1;
        QTest::addRow("hex combo key A") << Act([] { MyHexComboBox c; c.addItems({"10", "20"}); key(&c, Qt::Key_A); }) << 1;
        QTest::addRow("hex combo key G") << Act([] { MyHexComboBox c; c.addItems({"10", "20"}); key(&c, Qt::Key_G); }) << 0;
        // The list box beeps for the key and for the row change it makes.
        QTest::addRow("list box direct key") << Act([] { MyListBox l; l.addItems({"a", "b", "c"}); l.setCurrentRow(0); key(&l, Qt::Key_3); }) << 2;
    }
    void widgets()
    {
        QFETCH(Act, act);
        QFETCH(int, beeps);
        TestRoot root;
        QVERIFY(TestBytes::writeFile(PanelPaths::buzzerDevice(), QByteArray()));
        QVERIFY(BuzzerDevice::open());
        g_mark = -1;
        act();
        QVERIFY(g_mark >= 0);
        QCOMPARE(TestBytes::readFile(PanelPaths::buzzerDevice()).mid(g_mark), QByteArray::fromHex("01000000").repeated(beeps));
    }
};

QTEST_MAIN(TestBuzzer)
#include "test_buzzer.moc"
