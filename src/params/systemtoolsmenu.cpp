#include "systemtoolsmenu.h"

#include "carriageaccelerationframe.h"
#include "carrierspeedcorrectionframe.h"
#include "densitycorrectionframe.h"
#include "densityidleframe.h"
#include "personalisationframe.h"
#include "rackingcorrectionframe.h"
#include "runningparamframe.h"
#include "systemparamframe.h"

#include "data/protocol.h"
#include "logic/controller/controllercommands.h"
#include "logic/controller/controllermessages.h"
#include "logic/controller/updatebracket.h"
#include "logic/params/parammessages.h"
#include "platform/panelpaths.h"
#include "ui/fileoperatedialog.h"
#include "ui/listmenu.h"
#include "ui/operatordialogs.h"
#include "ui/quickpages.h"
#include "ui/stickimportdialog.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QShortcut>

#include <memory>
#include <type_traits>

namespace {

const char kPassword[] = "7063";
const char kFactoryPassword[] = "63018429";
constexpr int kNoFrame = -1;
// A page of the panel's own that changes nothing in the controller: no update to open.
constexpr int kPanelPage = -2;
// An item with an action of its own (the item's action member).
constexpr int kOwnAction = -3;

template <class Frame>
QDialog *make([[maybe_unused]] MachineData &machine, QWidget *parent)
{
    if constexpr (std::is_constructible_v<Frame, MachineData &, QWidget *>)
        return new Frame(machine, parent);
    else
        return new Frame(parent);
}

} // namespace

struct SystemToolsMenu::Item
{
    Page page;
    int column, row;
    int key;         // the menu's accelerator
    int functionKey; // F1-F8 for an "F" item, else 0
    const char *text;
    const char *password; // the question, nullptr when open to all
    int object;           // the parameter update's object code; kNoFrame: turns the page; kPanelPage: no update; kOwnAction: its action
    const char *entryFailure;
    QDialog *(*frame)(MachineData &, QWidget *); // a page of this folder's
    Page turnTo; // the page a page-turning item shows
    void (SystemToolsMenu::*action)() = nullptr; // a kOwnAction item's
    QuickPages::Page registered = QuickPages::PageCount; // a page of another screen's, made by main()
};

namespace {

const char kAsk[] = QT_TRANSLATE_NOOP("SystemToolsMenu", "该参数修改需要密码, 请输入密码: ");

// Each item at its page, column and row.
const SystemToolsMenu::Item kItems[] = {
    {SystemToolsMenu::Common, 1, 7, Qt::Key_H, Qt::Key_F8,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "F8.更多系统工具菜单"),
     QT_TRANSLATE_NOOP("SystemToolsMenu", "更多系统工具菜单需要密码, 请输入密码: "), kNoFrame, nullptr, nullptr, SystemToolsMenu::More},
    {SystemToolsMenu::Common, 0, 0, Qt::Key_1, 0,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "1.工作参数设置"), nullptr, Protocol::SystemGroup,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "进入工作参数设置界面失败, 请重试 !"), make<RunningParamFrame>, SystemToolsMenu::Common},
    {SystemToolsMenu::Common, 0, 1, Qt::Key_2, 0,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "2.系统参数设置"), kAsk, Protocol::SystemParamGroup,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "进入系统参数设置界面失败, 请重试 !"), make<SystemParamFrame>, SystemToolsMenu::Common},
    {SystemToolsMenu::Common, 0, 2, Qt::Key_3, 0,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "3.密度电机修正"), kAsk, Protocol::DensityGroup,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "进入密度电机修正界面失败, 请重试 !"), make<DensityCorrectionFrame>, SystemToolsMenu::Common},
    {SystemToolsMenu::Common, 0, 3, Qt::Key_4, 0,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "4.不工作密度设置"), nullptr, Protocol::DensityGroup,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "进入不工作密度设置界面失败, 请重试 !"), make<DensityIdleFrame>, SystemToolsMenu::Common},
    {SystemToolsMenu::Common, 0, 4, Qt::Key_5, 0,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "5.摇床位置修正"), kAsk, Protocol::RackingGroup,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "进入摇床位置修正界面失败, 请重试 !"), make<RackingCorrectionFrame>, SystemToolsMenu::Common},
    {SystemToolsMenu::Common, 1, 0, Qt::Key_A, Qt::Key_F1,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "F1.报警记录"), nullptr, kPanelPage, nullptr,
     nullptr, SystemToolsMenu::Common, nullptr, QuickPages::History},
    {SystemToolsMenu::More, 0, 0, Qt::Key_1, 0,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "1.机头加减速类型设置"), nullptr, Protocol::AccelerationGroup,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "进入加减速设置界面失败, 请重试 !"), make<CarriageAccelerationFrame>, SystemToolsMenu::More},
    {SystemToolsMenu::More, 0, 1, Qt::Key_2, 0,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "2.机器个性化参数设置"), nullptr, Protocol::PersonalisationGroup,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "进入个性化参数界面失败-3, 请重试 !"), make<PersonalisationFrame>, SystemToolsMenu::More},
    {SystemToolsMenu::More, 0, 2, Qt::Key_3, 0,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "3.系统参数导入导出和初始化"), nullptr, kPanelPage,
     nullptr, nullptr, SystemToolsMenu::More, nullptr, QuickPages::SystemBackup},
    {SystemToolsMenu::More, 0, 3, Qt::Key_4, 0,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "4.系统时间修改"), nullptr, kPanelPage, nullptr,
     nullptr, SystemToolsMenu::More, nullptr, QuickPages::TimeDate},
    {SystemToolsMenu::More, 0, 4, Qt::Key_5, 0,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "5.桌面属性设置"), nullptr, kPanelPage, nullptr, nullptr,
     SystemToolsMenu::More, nullptr, QuickPages::DesktopSettings},
    {SystemToolsMenu::More, 0, 6, Qt::Key_7, 0,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "7.系统软件升级"), nullptr, kPanelPage, nullptr,
     nullptr, SystemToolsMenu::More, nullptr, QuickPages::SoftwareUpdate},
    {SystemToolsMenu::More, 0, 5, Qt::Key_6, 0,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "6.触摸屏校正"), nullptr, kOwnAction, nullptr, nullptr,
     SystemToolsMenu::More, &SystemToolsMenu::touchCalibration},
    {SystemToolsMenu::More, 0, 7, Qt::Key_8, 0,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "8.控制器出厂设置"), nullptr, kOwnAction, nullptr, nullptr,
     SystemToolsMenu::More, &SystemToolsMenu::factoryConfiguration},
    {SystemToolsMenu::More, 1, 2, Qt::Key_C, Qt::Key_F3,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "F3.U盘格式化工具"), nullptr, kPanelPage, nullptr,
     nullptr, SystemToolsMenu::More, nullptr, QuickPages::StickFormat},
    {SystemToolsMenu::More, 1, 1, Qt::Key_B, Qt::Key_F2,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "F2.硬盘格式化工具"), nullptr, kPanelPage, nullptr,
     nullptr, SystemToolsMenu::More, nullptr, QuickPages::FlashDiskFormat},
    {SystemToolsMenu::More, 1, 7, Qt::Key_H, Qt::Key_F8,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "F8.常用系统工具菜单"), nullptr, kNoFrame,
     nullptr, nullptr, SystemToolsMenu::Common},
    {SystemToolsMenu::More, 1, 0, Qt::Key_A, Qt::Key_F1,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "F1.纱嘴停放与机头速度对照表"), kAsk, Protocol::CarrierSpeedGroup,
     QT_TRANSLATE_NOOP("SystemToolsMenu", "进入纱嘴停放与机头速度对照表界面失败, 请重试 !"), make<CarrierSpeedCorrectionFrame>, SystemToolsMenu::More},
};

} // namespace

SystemToolsMenu::SystemToolsMenu(MachineData &machine, const QuickPages &pages, QWidget *parent, const char *name)
    : ScreenFrame(parent, name)
    , machine_(machine)
    , pages_(pages)
{
    setTitleLine(QStringLiteral("Controller Parameter Setting Menu"));
    setMessageLine(tr("选择要设置的参数, 按< 确定 >进入."));
    menu_ = new ListMenu(this);
    menu_->setGeometry(0, 50, 640, 430);
    menu_->setContext("SystemToolsMenu");
    connect(menu_, &MenuGrid::itemChosen, this, &SystemToolsMenu::chooseItem);
    fill(Common);
}

void SystemToolsMenu::fill(Page page)
{
    page_ = page;
    for (int c = 0; c < MenuGrid::kColumns; ++c) {
        for (int r = 0; r < MenuGrid::kRows; ++r)
            menu_->setItem(c, r, QString());
    }
    qDeleteAll(functionKeys_);
    functionKeys_.clear();
    for (const Item &item : kItems) {
        if (item.page != page)
            continue;
        menu_->setItem(item.column, item.row, QString::fromUtf8(item.text), QIcon(), item.key);
        if (item.functionKey) {
            auto *key = new QShortcut(QKeySequence(item.functionKey), this);
            connect(key, &QShortcut::activated, this, [this, &item] { chooseItem(item.column, item.row); });
            functionKeys_.append(key);
        }
    }
    if (QWidget *first = menu_->item(0, 0))
        first->setFocus();
}

bool SystemToolsMenu::passwordGiven(const char *prompt)
{
    const QString answer = askPassword(this, QString(), QCoreApplication::translate("SystemToolsMenu", prompt), ParamMessages::kPasswordLength);
    if (answer.isEmpty())
        return false;
    if (answer != QLatin1String(kPassword)) {
        showMessage(this, tr("密码错误, 请重新输入 !"));
        return false;
    }
    return true;
}

void SystemToolsMenu::openFrame(const Item &item)
{
    if (item.object == kPanelPage) {
        std::unique_ptr<QDialog> page(item.frame ? item.frame(machine_, this) : pages_.make(item.registered, this));
        if (page)
            page->exec();
        return;
    }
    if (!ControllerCommands::stopped()) {
        showMessage(this, ControllerMessages::refusal(ParamMessages::text(ParamMessages::kRunning)));
        return;
    }
    if (!UpdateBracket(item.object).open()) {
        showMessage(this, QCoreApplication::translate("SystemToolsMenu", item.entryFailure));
        return;
    }
    std::unique_ptr<QDialog> frame(item.frame(machine_, this));
    frame->exec();
    frame.reset();
    // Unanswered, the controller may still hold the group's update open: the operator is told.
    if (!UpdateBracket(item.object).closeRetrying())
        showMessage(this, ParamMessages::text(ParamMessages::kCheckNetwork));
}

void SystemToolsMenu::chooseItem(int column, int row)
{
    for (const Item &item : kItems) {
        if (item.page != page_ || item.column != column || item.row != row)
            continue;
        if (item.password && !passwordGiven(item.password))
            return;
        if (item.object == kNoFrame)
            fill(item.turnTo);
        else if (item.object == kOwnAction)
            (this->*item.action)();
        else
            openFrame(item);
        return;
    }
}

void SystemToolsMenu::touchCalibration()
{
    std::unique_ptr<QDialog> calibration(pages_.make(QuickPages::TouchCalibration, this));
    if (!calibration || calibration->exec() != QDialog::Accepted)
        return;
    // A copy on the data disk survives a system image that brings its own /etc.
    if (!FileOperateDialog::copy(PanelPaths::pointercal(), PanelPaths::data(QStringLiteral("/pointercal")), this))
        showMessage(this, tr("保存触摸屏校正数据失败, 请重新校正 !"));
}

void SystemToolsMenu::factoryConfiguration()
{
    const QString answer = askPassword(this, QString(), tr("请输入控制器厂家密码: "), ParamMessages::kPasswordLength);
    if (answer != QLatin1String(kFactoryPassword))
        return;
    if (!StickImportDialog::openFileFromStick(PanelPaths::data(QStringLiteral("/Config.ini")),
                                             tr(" 导入控制器出厂配置参数"), PanelPaths::usbRoot(),
                                             QStringLiteral("Config*.ini"), this))
        showMessage(this, tr(" 导入控制器出厂配置参数失败 ! "));
}
