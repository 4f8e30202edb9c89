#include "controllertestmenu.h"

#include "carriagetestpage.h"
#include "iotestpage.h"

#include "data/protocol.h"
#include "logic/controller/controllercommands.h"
#include "logic/machinetests/testentry.h"
#include "ui/buzzer.h"
#include "ui/listmenu.h"
#include "ui/operatordialogs.h"
#include "ui/transferdialog.h"
#include "ui/windowfocus.h"

#include <QPushButton>
#include <QShortcut>

#include <algorithm>
#include <iterator>

namespace {

enum class Action { CarriageTest, IoTest, RollersForward, RollersBackward };

struct Item
{
    int column, row, key, functionKey;
    const char *text;
    Action action;
};

// "F<n>." items answer the n-th letter, in either case, and the function key Fn alike.
const Item kItems[] = {
    {0, 0, Qt::Key_1, 0, QT_TRANSLATE_NOOP("ControllerTestMenu", "1.机头测试"), Action::CarriageTest},
    {0, 1, Qt::Key_2, 0, QT_TRANSLATE_NOOP("ControllerTestMenu", "2.输入输出测试"), Action::IoTest},
    {1, 0, Qt::Key_A, Qt::Key_F1, QT_TRANSLATE_NOOP("ControllerTestMenu", "F1.罗拉正转"), Action::RollersForward},
    {1, 1, Qt::Key_B, Qt::Key_F2, QT_TRANSLATE_NOOP("ControllerTestMenu", "F2.罗拉反转"), Action::RollersBackward},
};

} // namespace

ControllerTestMenu::ControllerTestMenu(MachineData &machine, QWidget *parent)
    : ScreenFrame(parent, "controllertestmenu")
    , machine_(machine)
{
    setTitleLine(QStringLiteral("Controller Test Menu"));
    setMessageLine(tr("选择要测试的项目, 按< 确定 >进入."));
    menu_ = new ListMenu(this);
    menu_->setGeometry(0, 50, 640, 430);
    menu_->setContext("ControllerTestMenu");
    for (const Item &it : kItems) {
        menu_->setItem(it.column, it.row, QString::fromUtf8(it.text));
        // The keys act at once: an item's own accelerator would wait for its 100 ms press
        // animation before the entry even starts.
        QList<QKeySequence> keys{QKeySequence(it.key)};
        if (it.functionKey)
            keys << QKeySequence(it.functionKey) << QKeySequence(Qt::SHIFT | it.key);
        for (const QKeySequence &key : keys) {
            connect(new QShortcut(key, this), &QShortcut::activated, this, [this, it] {
                buzzer(kKeyBeepMs);
                chooseItem(it.column, it.row);
            });
        }
    }
    connect(menu_, &MenuGrid::itemChosen, this, &ControllerTestMenu::chooseItem);
    menu_->item(0, 0)->setFocus();
}

void ControllerTestMenu::chooseItem(int column, int row)
{
    const auto it = std::find_if(std::begin(kItems), std::end(kItems),
                                 [column, row](const Item &i) { return i.column == column && i.row == row; });
    if (it != std::end(kItems)) {
        switch (it->action) {
        case Action::CarriageTest:
            runTest(Protocol::CarriageTest);
            break;
        case Action::IoTest:
            runTest(Protocol::IoTest);
            break;
        case Action::RollersForward:
            rollers(Protocol::RollersForward);
            break;
        case Action::RollersBackward:
            rollers(Protocol::RollersBackward);
            break;
        }
    }
    // The panel has no window manager to give the keypad back to the menu once a page or a
    // message closed; without it the item keys would reach nothing.
    if (isVisible()) {
        WindowFocus::activate(this);
        if (!focusWidget())
            menu_->item(0, 0)->setFocus();
    }
}

void ControllerTestMenu::runTest(Protocol::TestKind test)
{
    const TestEntry::Result result = TestEntry::enter(machine_, test, [](const QString &path) { return TransferDialog::getFile(path); });
    if (result != TestEntry::Entered) {
        showMessage(this, TestEntry::failureText(result));
        // The controller entered the mode but the page cannot open: it must not stay in it.
        if (result == TestEntry::NotFetched || result == TestEntry::NotWhole)
            TestEntry::leave(test);
        return;
    }
    if (test == Protocol::IoTest) {
        IoTestPage page(machine_, this);
        page.exec();
    } else {
        CarriageTestPage page(machine_, this);
        page.exec();
    }
}

void ControllerTestMenu::rollers(unsigned short action)
{
    if (ControllerCommands::stopped())
        ControllerCommands::action(action, 0);
}
