// Keypad handling of the small widgets: direct selection in MyListBox (faults: wrong row per
// key, a key past the list clearing the selection), Enter on myentercheckbox (faults: middle
// state not going off, no signal), the keys multibutton injects (faults: a key sent with the
// wrong character, a key that must send nothing sending one, the press or release missing)
// and MyLabel reporting touches only while clickable.
#include "ui/multibutton.h"
#include "ui/myentercheckbox.h"
#include "ui/mylabel.h"
#include "ui/mylistbox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

// Notes every key event its target receives as "press 16777238 ''".
class KeyRecorder : public QObject
{
public:
    QStringList events;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
            auto *k = static_cast<QKeyEvent *>(e);
            events << QStringLiteral("%1 %2 '%3'")
                          .arg(e->type() == QEvent::KeyPress ? QStringLiteral("press") : QStringLiteral("release"))
                          .arg(k->key())
                          .arg(k->text());
        }
        return false;
    }
};

} // namespace

class TestKeyWidgets : public QObject
{
    Q_OBJECT

private slots:
    void listBoxKeys_data();
    void listBoxKeys();
    void enterCheckBox_data();
    void enterCheckBox();
    void injection_data();
    void injection();
    void label_data();
    void label();
};

void TestKeyWidgets::listBoxKeys_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("row");
    QTest::addRow("1 first") << 16 << 5 << int(Qt::Key_1) << 0;
    QTest::addRow("0 tenth") << 16 << 0 << int(Qt::Key_0) << 9;
    QTest::addRow("A eleventh") << 16 << 0 << int(Qt::Key_A) << 10;
    QTest::addRow("F sixteenth") << 16 << 0 << int(Qt::Key_F) << 15;
    QTest::addRow("G nothing more") << 16 << 3 << int(Qt::Key_G) << 3;
    QTest::addRow("down normal handling") << 16 << 3 << int(Qt::Key_Down) << 4;
    QTest::addRow("5 past a short list keeps") << 3 << 1 << int(Qt::Key_5) << 1;
    QTest::addRow("3 on a short list's last") << 3 << 0 << int(Qt::Key_3) << 2;
}

void TestKeyWidgets::listBoxKeys()
{
    QFETCH(int, items);
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, row);
    MyListBox list;
    for (int i = 0; i < items; ++i)
        list.addItem(QStringLiteral("item %1").arg(i));
    list.setCurrentRow(start);
    QTest::keyClick(&list, Qt::Key(key), Qt::NoModifier);
    QCOMPARE(list.currentRow(), row);
    QVERIFY(list.currentItem() && list.currentItem()->isSelected());
}

void TestKeyWidgets::enterCheckBox_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("emitted");
    QTest::addRow("enter off to on") << int(Qt::Unchecked) << int(Qt::Key_Enter) << int(Qt::Checked) << 1;
    QTest::addRow("return on to off") << int(Qt::Checked) << int(Qt::Key_Return) << int(Qt::Unchecked) << 1;
    QTest::addRow("enter middle to off") << int(Qt::PartiallyChecked) << int(Qt::Key_Enter) << int(Qt::Unchecked) << 1;
    QTest::addRow("other key nothing") << int(Qt::Checked) << int(Qt::Key_5) << int(Qt::Checked) << 0;
}

void TestKeyWidgets::enterCheckBox()
{
    QFETCH(int, state);
    QFETCH(int, key);
    QFETCH(int, after);
    QFETCH(int, emitted);
    myentercheckbox box;
    box.setTristate(true);
    box.setCheckState(Qt::CheckState(state));
    QSignalSpy spy(&box, &myentercheckbox::signal_enter);
    QVERIFY(spy.isValid());
    QTest::keyClick(&box, Qt::Key(key));
    QCOMPARE(int(box.checkState()), after);
    QCOMPARE(spy.count(), emitted);
}

void TestKeyWidgets::injection_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("events");
    auto both = [](int key, const char *text) {
        return QStringList{QStringLiteral("press %1 '%2'").arg(key).arg(QLatin1String(text)),
                           QStringLiteral("release %1 '%2'").arg(key).arg(QLatin1String(text))};
    };
    QTest::addRow("page up") << int(Qt::Key_PageUp) << both(Qt::Key_PageUp, "");
    QTest::addRow("backspace") << int(Qt::Key_Backspace) << both(Qt::Key_Backspace, "");
    QTest::addRow("M with its character") << 77 << both(77, "M");
    QTest::addRow("A nothing") << int(Qt::Key_A) << QStringList();
    QTest::addRow("enter nothing") << int(Qt::Key_Enter) << QStringList();
}

void TestKeyWidgets::injection()
{
    QFETCH(int, key);
    QFETCH(QStringList, events);
    QWidget page;
    auto *layout = new QVBoxLayout(&page);
    auto *field = new QLineEdit(&page);
    auto *button = new multibutton(&page, "Bkey", key);
    layout->addWidget(field);
    layout->addWidget(button);
    page.show();
    QVERIFY(QTest::qWaitForWindowActive(&page));
    field->setFocus();
    KeyRecorder recorder;
    field->installEventFilter(&recorder);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), field); // the panel button never takes the focus
    QCoreApplication::sendPostedEvents();
    QCOMPARE(recorder.events, events);
}

void TestKeyWidgets::label_data()
{
    QTest::addColumn<bool>("clickable");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("released");
    QTest::addRow("clickable") << true << int(Qt::LeftButton) << 1;
    QTest::addRow("not clickable") << false << int(Qt::LeftButton) << 0;
    QTest::addRow("clickable other button") << true << int(Qt::RightButton) << 0;
}

void TestKeyWidgets::label()
{
    QFETCH(bool, clickable);
    QFETCH(int, button);
    QFETCH(int, released);
    MyLabel label(QStringLiteral("报警"));
    label.setclickable(clickable);
    label.show();
    QSignalSpy spy(&label, &MyLabel::released);
    QVERIFY(spy.isValid());
    QTest::mouseClick(&label, Qt::MouseButton(button));
    QCOMPARE(spy.count(), released);
}

QTEST_MAIN(TestKeyWidgets)
#include "test_keywidgets.moc"
