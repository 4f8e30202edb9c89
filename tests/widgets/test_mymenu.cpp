// The two-column menus: item rectangles, keypad focus movement (faults: focus leaving the
// grid or wrapping at an edge, a wrong column scan), the chosen item's text by click and by
// Enter (faults: no or doubled signal, a never-set item not reported), the focus colours.
#include "testroot.h"
#include "data/parablocks.h"
#include "ui/listbuttonno.h"
#include "ui/mymenu.h"
#include "ui/mymenuno.h"
#include "ui/palettes.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

std::unique_ptr<MenuGrid> shownMenu(bool no)
{
    std::unique_ptr<MenuGrid> menu;
    if (no)
        menu = std::make_unique<MyMenuNo>();
    else
        menu = std::make_unique<MyMenu>();
    menu->show();
    menu->activateWindow();
    return menu;
}

QPoint focusedCell(const MenuGrid &menu)
{
    for (int c = 0; c < MenuGrid::kColumns; ++c)
        for (int r = 0; r < MenuGrid::kRows; ++r)
            if (menu.item(c, r)->hasFocus())
                return QPoint(c, r);
    return QPoint(-1, -1);
}

} // namespace

class TestMyMenu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void geometry_data();
    void geometry();
    void focusMovement_data();
    void focusMovement();
    void itemName_data();
    void itemName();
    void focusPalettes();
};

void TestMyMenu::initTestCase()
{
    init_system_color();
}

void TestMyMenu::geometry_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QRect>("rect");
    QTest::addRow("left top") << 0 << 0 << QRect(QPoint(10, 10), QPoint(304, 54));
    QTest::addRow("left row 3") << 0 << 3 << QRect(QPoint(10, 160), QPoint(304, 204));
    QTest::addRow("right bottom") << 1 << 7 << QRect(QPoint(315, 360), QPoint(609, 404));
}

void TestMyMenu::geometry()
{
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(QRect, rect);
    for (bool no : {false, true}) {
        auto menu = shownMenu(no);
        QCOMPARE(menu->item(column, row)->geometry(), rect);
    }
}

void TestMyMenu::focusMovement_data()
{
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QPoint>("end");
    using L = QList<int>;
    QTest::addRow("built focus") << QPoint(-1, -1) << L{} << QPoint(0, 0);
    QTest::addRow("up on row 0 stays") << QPoint(0, 0) << L{Qt::Key_Up} << QPoint(0, 0);
    QTest::addRow("left in left column stays") << QPoint(0, 4) << L{Qt::Key_Left} << QPoint(0, 4);
    QTest::addRow("right in right column stays") << QPoint(1, 2) << L{Qt::Key_Right} << QPoint(1, 2);
    QTest::addRow("down on row 7 stays") << QPoint(1, 7) << L{Qt::Key_Down} << QPoint(1, 7);
    QTest::addRow("right keeps row") << QPoint(0, 5) << L{Qt::Key_Right} << QPoint(1, 5);
    QTest::addRow("left keeps row") << QPoint(1, 6) << L{Qt::Key_Left} << QPoint(0, 6);
    QTest::addRow("up in right column") << QPoint(1, 3) << L{Qt::Key_Up} << QPoint(1, 2);
    QTest::addRow("to the corner and past it")
        << QPoint(0, 6) << L{Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Down} << QPoint(1, 7);
}

void TestMyMenu::focusMovement()
{
    QFETCH(QPoint, start);
    QFETCH(QList<int>, keys);
    QFETCH(QPoint, end);
    TestRoot root;
    for (bool no : {false, true}) {
        auto menu = shownMenu(no);
        QVERIFY(QTest::qWaitForWindowActive(menu.get()));
        if (start.x() >= 0)
            menu->item(start.x(), start.y())->setFocus();
        for (int key : keys)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(focusedCell(*menu), end);
    }
}

void TestMyMenu::itemName_data()
{
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<int>("key"); // 0: a click
    QTest::addColumn<QString>("text");
    QTest::addRow("click left") << QPoint(0, 1) << 0 << QStringLiteral("2.系统参数");
    QTest::addRow("return right") << QPoint(1, 0) << int(Qt::Key_Return) << QStringLiteral("F1.罗拉正转");
    QTest::addRow("keypad enter") << QPoint(0, 1) << int(Qt::Key_Enter) << QStringLiteral("2.系统参数");
    QTest::addRow("click never set") << QPoint(1, 7) << 0 << QString();
}

void TestMyMenu::itemName()
{
    QFETCH(QPoint, cell);
    QFETCH(int, key);
    QFETCH(QString, text);
    for (bool no : {false, true}) {
        auto menu = shownMenu(no);
        QVERIFY(QTest::qWaitForWindowActive(menu.get()));
        menu->setItem(0, 0, QStringLiteral("1.机头测试"));
        menu->setItem(0, 1, QStringLiteral("2.系统参数"));
        menu->setItem(1, 0, QStringLiteral("F1.罗拉正转"));
        QSignalSpy spy(menu.get(), &MenuGrid::signal_itemname);
        QVERIFY(spy.isValid());
        QPushButton *b = menu->item(cell.x(), cell.y());
        if (key) {
            b->setFocus();
            QTest::keyClick(b, Qt::Key(key));
        } else {
            QTest::mouseClick(b, Qt::LeftButton);
        }
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), text);
    }
}

// Focus colours: a ListButton turns dark when focused and back when left; an active
// ListButtonNo takes the button-text palette instead.
void TestMyMenu::focusPalettes()
{
    ctro_config[0] = 10;
    ctro_config[1] = 20;
    ctro_config[2] = 30;
    init_system_color();
    const QColor dark(10, 20, 30);

    auto menu = shownMenu(false);
    QVERIFY(QTest::qWaitForWindowActive(menu.get()));
    QCOMPARE(menu->item(0, 0)->palette().color(QPalette::Button), dark);
    const QColor before = menu->item(0, 1)->palette().color(QPalette::Button);
    QTest::keyClick(menu->item(0, 0), Qt::Key_Down);
    QCOMPARE(menu->item(0, 1)->palette().color(QPalette::Button), dark);
    QCOMPARE(menu->item(0, 0)->palette().color(QPalette::Button), before);

    auto menuNo = shownMenu(true);
    QVERIFY(QTest::qWaitForWindowActive(menuNo.get()));
    auto *no = static_cast<MyMenuNo *>(menuNo.get());
    QCOMPARE(no->item(0, 0)->palette().color(QPalette::Button), dark);
    no->itemNo(0, 0)->setactive(1);
    QCOMPARE(no->item(0, 0)->palette().color(QPalette::Button), palette_button_text.color(QPalette::Button));

    ctro_config[0] = 85;
    ctro_config[1] = 0;
    ctro_config[2] = 255;
    init_system_color();
}

QTEST_MAIN(TestMyMenu)
#include "test_mymenu.moc"
