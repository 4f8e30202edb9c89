// The buzzer, read back from a plain file standing for the device. Faults caught: a beep left
// on (each beep writes on and off), a wait that returns before the beep's length or the
// start-up second, a missing or switched-off device that still costs time; a widget silent on
// a key it handles, a doubled beep from two connected signals, a beep on a key it ignores.
#include "testbytes.h"
#include "testroot.h"

#include "platform/buzzerdevice.h"
#include "platform/panelpaths.h"
#include "ui/buzzer.h"
#include "ui/mybutton.h"
#include "ui/myhexcombobox.h"
#include "ui/mylistbox.h"
#include "ui/myspinbox.h"

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

QByteArray beeps(int n)
{
    return QByteArray::fromHex("01000000").repeated(n);
}

} // namespace

class TestBuzzer : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        BuzzerDevice::close();
        qputenv("KNIT_BUZZER", "off");
    }

    void device_data()
    {
        QTest::addColumn<bool>("device");
        QTest::addColumn<QByteArray>("setting"); // KNIT_BUZZER
        QTest::addColumn<QList<int>>("lengths"); // empty: the start-up beep of buzzer_init
        QTest::addRow("two beeps") << true << QByteArray("on") << QList<int>{20, 35};
        QTest::addRow("start-up beep") << true << QByteArray("on") << QList<int>{};
        QTest::addRow("device missing") << false << QByteArray("on") << QList<int>{20, 20};
        QTest::addRow("switched off") << true << QByteArray("off") << QList<int>{20, 20};
    }
    void device()
    {
        QFETCH(bool, device);
        QFETCH(QByteArray, setting);
        QFETCH(QList<int>, lengths);
        TestRoot root;
        if (device)
            QVERIFY(TestBytes::writeFile(PanelPaths::buzzerDevice(), QByteArray()));
        qputenv("KNIT_BUZZER", setting);
        const bool sounds = device && setting == "on";
        QElapsedTimer clock;
        clock.start();
        if (lengths.isEmpty())
            buzzer_init();
        else
            QCOMPARE(BuzzerDevice::open(), sounds);
        for (int ms : lengths)
            buzzer(ms);
        QVERIFY2(sounds ? clock.elapsed() >= (lengths.isEmpty() ? 1000 : 55) : clock.elapsed() < 5, qPrintable(QString::number(clock.elapsed())));
        BuzzerDevice::close();
        QCOMPARE(TestBytes::readFile(PanelPaths::buzzerDevice()), device ? beeps(sounds ? qMax(1, int(lengths.size())) : 0) : QByteArray("<missing>"));
    }

    // Handled keys beep once (the list box's direct key twice: the key and the row change).
    void widgets_data()
    {
        QTest::addColumn<Act>("act");
        QTest::addColumn<int>("beeps");
        QTest::addRow("button click") << Act([] { MYBUTTON b(QStringLiteral("OK")); key(&b, Qt::Key_Space); }) << 1;
        QTest::addRow("hex combo key A") << Act([] { MyHexComboBox c; c.addItems({"10", "20"}); key(&c, Qt::Key_A); }) << 1;
        QTest::addRow("hex combo key G") << Act([] { MyHexComboBox c; c.addItems({"10", "20"}); key(&c, Qt::Key_G); }) << 0;
        QTest::addRow("list box direct key") << Act([] { MyListBox l; l.addItems({"a", "b", "c"}); l.setCurrentRow(0); key(&l, Qt::Key_3); }) << 2;
        QTest::addRow("spin box at maximum") << Act([] { MySpinBox s; s.setValue(99); key(&s, Qt::Key_Up); }) << 0;
    }
    void widgets()
    {
        QFETCH(Act, act);
        QFETCH(int, beeps);
        TestRoot root;
        QVERIFY(TestBytes::writeFile(PanelPaths::buzzerDevice(), QByteArray()));
        qputenv("KNIT_BUZZER", "on");
        QVERIFY(BuzzerDevice::open());
        g_mark = -1;
        act();
        QVERIFY(g_mark >= 0);
        QCOMPARE(TestBytes::readFile(PanelPaths::buzzerDevice()).mid(g_mark), ::beeps(beeps));
    }
};

QTEST_MAIN(TestBuzzer)
#include "test_buzzer.moc"
