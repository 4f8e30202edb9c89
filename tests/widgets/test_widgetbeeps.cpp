// Which operator actions beep, and how often, read back from a plain file standing for the
// buzzer (faults: a widget that stays silent on the action it should beep on, a doubled beep
// from two connected signals, a beep on keys the widget does not handle).
#include "testroot.h"
#include "platform/buzzerdevice.h"
#include "platform/panelpaths.h"
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

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include <functional>
#include <memory>

namespace {

QString g_device;
qint64 g_mark = 0;

// Beeps of the set-up do not count: each case calls this once its widget is ready.
void count()
{
    g_mark = QFileInfo(g_device).size();
}

struct Case
{
    const char *name;
    int beeps;
    std::function<void()> act;
};

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

const std::vector<Case> &cases()
{
    static const std::vector<Case> all = {
        {"button click", 1, [] { MYBUTTON b(QStringLiteral("确定")); count(); QTest::mouseClick(&b, Qt::LeftButton); }},
        {"panel button click", 1, [] { QPanelButton b(QStringLiteral("M")); count(); QTest::mouseClick(&b, Qt::LeftButton); }},
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
        {"hex combo key A", 1, [] {
             MyHexComboBox c;
             c.addItems({QStringLiteral("10"), QStringLiteral("20")});
             key(&c, Qt::Key_A);
         }},
        {"hex combo key G", 0, [] {
             MyHexComboBox c;
             c.addItems({QStringLiteral("10"), QStringLiteral("20")});
             key(&c, Qt::Key_G);
         }},
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

} // namespace

class TestWidgetBeeps : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void beeps_data();
    void beeps();

private:
    std::unique_ptr<TestRoot> root_;
};

void TestWidgetBeeps::initTestCase()
{
    root_ = std::make_unique<TestRoot>();
    g_device = PanelPaths::buzzerDevice();
    QVERIFY(QDir().mkpath(QFileInfo(g_device).path()));
    QFile f(g_device);
    QVERIFY(f.open(QIODevice::WriteOnly));
    qputenv("KNIT_BUZZER", "on");
    QVERIFY(BuzzerDevice::open());
    qputenv("KNIT_BUZZER", "off");
}

void TestWidgetBeeps::cleanupTestCase()
{
    BuzzerDevice::close();
    root_.reset();
}

void TestWidgetBeeps::beeps_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(cases().size()); ++i)
        QTest::addRow("%s", cases()[i].name) << i;
}

void TestWidgetBeeps::beeps()
{
    QFETCH(int, index);
    const Case &c = cases()[index];
    g_mark = -1;
    c.act();
    QVERIFY(g_mark >= 0);
    QFile f(g_device);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.seek(g_mark));
    QCOMPARE(f.readAll(), QByteArray::fromHex("01000000").repeated(c.beeps));
}

QTEST_MAIN(TestWidgetBeeps)
#include "test_widgetbeeps.moc"
