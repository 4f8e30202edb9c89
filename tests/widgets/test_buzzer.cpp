// The buzzer, read back from a plain file standing for the device. With the device present
// each beep writes the 16-bit on and off values and holds for its length, and the start-up
// beep holds a second; with it missing (or switched off) a beep writes nothing and takes no
// time (faults: a beep left on, a wait that returns early, a silent device still costing time).
// Which operator actions beep, and how often (faults: a widget silent on the action it should
// beep on, a doubled beep from two connected signals, a beep on keys the widget does not handle).
#include "testbytes.h"
#include "testroot.h"

#include "machinetests/panelall.h"
#include "platform/buzzerdevice.h"
#include "platform/panelpaths.h"
#include "ui/buzzer.h"
#include "ui/mybutton.h"
#include "ui/mycheckbox.h"
#include "ui/myentercheckbox.h"
#include "ui/myhexcombobox.h"
#include "ui/mylineedit.h"
#include "ui/mylistbox.h"
#include "ui/mylistview.h"
#include "ui/mymenu.h"
#include "ui/myspinbox.h"
#include "ui/mytabwidget.h"
#include "ui/qidialog.h"
#include "ui/qpanelbutton.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <functional>
#include <memory>

namespace {

qint64 g_mark = 0;

// Beeps of the set-up do not count: each case calls this once its widget is ready.
void count()
{
    g_mark = QFileInfo(PanelPaths::buzzerDevice()).size();
}

void key(QWidget *w, Qt::Key k)
{
    count();
    QTest::keyClick(w, k);
}

MyListView *listView()
{
    auto *v = new MyListView;
    v->setColumnCount(2);
    for (int i = 0; i < 5; ++i)
        new QTreeWidgetItem(v, {QStringLiteral("r%1").arg(i), QStringLiteral("x")});
    v->setCurrentItem(v->topLevelItem(0));
    return v;
}

struct Case
{
    const char *name;
    int beeps;
    std::function<void()> act;
};

const std::vector<Case> &cases()
{
    static const std::vector<Case> all = {
        {"button click", 1, [] { MYBUTTON b(QStringLiteral("确定")); count(); QTest::mouseClick(&b, Qt::LeftButton); }},
        {"panel button click", 1, [] { QPanelButton b(QStringLiteral("M")); count(); QTest::mouseClick(&b, Qt::LeftButton); }},
        {"key panel touch", 1, [] { panelall p; p.slot_effect(1); count(); QTest::mouseClick(p.button(0), Qt::LeftButton); }},
        {"check box click", 1, [] { MYCHECKBOX c(QStringLiteral("x")); key(&c, Qt::Key_Space); }},
        {"tab page change", 1, [] {
             MyTabWidget t;
             t.addTab(new QWidget, QStringLiteral("1"));
             t.addTab(new QWidget, QStringLiteral("2"));
             count();
             t.setCurrentIndex(1);
         }},
        {"spin box step", 1, [] { MySpinBox s; key(&s, Qt::Key_Up); }},
        {"spin box at maximum", 0, [] { MySpinBox s; s.setValue(99); key(&s, Qt::Key_Up); }},
        {"list box direct key", 2, [] {
             MyListBox l;
             l.addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
             l.setCurrentRow(0);
             key(&l, Qt::Key_3);
         }},
        {"list box other key", 0, [] {
             MyListBox l;
             l.addItems({QStringLiteral("a"), QStringLiteral("b")});
             l.setCurrentRow(0);
             key(&l, Qt::Key_G);
         }},
        {"list view down", 1, [] { std::unique_ptr<MyListView> v(listView()); key(v.get(), Qt::Key_Down); }},
        {"list view right", 0, [] { std::unique_ptr<MyListView> v(listView()); key(v.get(), Qt::Key_Right); }},
        {"list view item press", 1, [] {
             std::unique_ptr<MyListView> v(listView());
             v->resize(300, 200);
             v->show();
             const QRect r = v->visualItemRect(v->topLevelItem(2));
             count();
             QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
         }},
        {"hex combo key A", 1, [] { MyHexComboBox c; c.addItems({QStringLiteral("10"), QStringLiteral("20")}); key(&c, Qt::Key_A); }},
        {"hex combo key G", 0, [] { MyHexComboBox c; c.addItems({QStringLiteral("10"), QStringLiteral("20")}); key(&c, Qt::Key_G); }},
        {"line edit typing", 2, [] { MyLineEdit e; count(); QTest::keyClicks(&e, QStringLiteral("ab")); }},
        {"input dialog typing", 3, [] { QIDialog d; count(); QTest::keyClicks(d.lineEdit(), QStringLiteral("abc")); }},
        {"menu click", 1, [] { MyMenu m; count(); QTest::mouseClick(m.item(1, 2), Qt::LeftButton); }},
        {"menu key down", 1, [] {
             MyMenu m;
             m.show();
             QVERIFY(QTest::qWaitForWindowActive(&m));
             key(m.item(0, 0), Qt::Key_Down);
         }},
        {"enter check box", 1, [] { myentercheckbox c; key(&c, Qt::Key_Enter); }},
    };
    return all;
}

// An empty file where the device lives.
bool makeDevice()
{
    return TestBytes::writeFile(PanelPaths::buzzerDevice(), QByteArray());
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
        QTest::addColumn<bool>("switchedOff");
        QTest::addColumn<QList<int>>("lengths"); // empty: the start-up beep of buzzer_init
        QTest::addRow("three beeps") << true << false << QList<int>{20, 0, 35};
        QTest::addRow("start-up beep") << true << false << QList<int>{};
        QTest::addRow("device missing") << false << false << QList<int>{20, 20, 20};
        QTest::addRow("switched off") << true << true << QList<int>{20, 20};
        QTest::addRow("start-up, device missing") << false << false << QList<int>{};
    }
    void device()
    {
        QFETCH(bool, device);
        QFETCH(bool, switchedOff);
        QFETCH(QList<int>, lengths);
        TestRoot root;
        if (device)
            QVERIFY(makeDevice());
        qputenv("KNIT_BUZZER", switchedOff ? "off" : "on");
        QElapsedTimer clock;
        clock.start();
        const bool startUp = lengths.isEmpty();
        if (startUp)
            buzzer_init();
        const bool opened = startUp ? BuzzerDevice::isOpen() : BuzzerDevice::open();
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
        const QByteArray written = TestBytes::readFile(PanelPaths::buzzerDevice());
        QCOMPARE(written, device ? beeps(opened ? int(lengths.size()) + (startUp ? 1 : 0) : 0) : QByteArray("<missing>"));
    }

    void widgets_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(cases().size()); ++i)
            QTest::addRow("%s", cases()[i].name) << i;
    }
    void widgets()
    {
        QFETCH(int, index);
        TestRoot root;
        QVERIFY(makeDevice());
        qputenv("KNIT_BUZZER", "on");
        QVERIFY(BuzzerDevice::open());
        qputenv("KNIT_BUZZER", "off");
        g_mark = -1;
        cases()[index].act();
        QVERIFY(g_mark >= 0);
        QCOMPARE(TestBytes::readFile(PanelPaths::buzzerDevice()).mid(g_mark), beeps(cases()[index].beeps));
    }
};

QTEST_MAIN(TestBuzzer)
#include "test_buzzer.moc"
