#include "paramrepairmenu.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "logic/controller/controllercommands.h"
#include "logic/controller/controllermessages.h"
#include "platform/atomicfile.h"
#include "platform/panelpaths.h"
#include "ui/listbuttonno.h"
#include "ui/markablelistmenu.h"
#include "ui/operatordialogs.h"
#include "ui/panelpalettes.h"
#include "ui/transferdialog.h"

namespace {

const char kNeedsRepair[] = QT_TRANSLATE_NOOP("ParamRepairMenu", "(  需修复  )");

QString systemBackup()
{
    return PanelPaths::data(QStringLiteral("/para/checksystem.sys"));
}

QString configBackup()
{
    return PanelPaths::data(QStringLiteral("/para/checkconfig.cfg"));
}

bool storeSystem(const MachineData &machine)
{
    return AtomicFile::save(systemBackup(), machine.system().data(), qint64(kSystemSize));
}

bool sendSystem(const MachineData &)
{
    return TransferDialog::putFile(systemBackup());
}

bool storeConfig(const MachineData &machine)
{
    return AtomicFile::save(configBackup(), machine.controllerPersonalisation().data(), qint64(kConfigCheckSize));
}

bool sendConfig(const MachineData &)
{
    return TransferDialog::putFile(configBackup());
}

// A repair: what it does and the texts of its question, success and failure; none for the
// shutdown item.
struct Repair
{
    bool (*action)(const MachineData &);
    const char *question, *success, *failure;
};

struct Item
{
    int column, row, key;
    const char *text;
    unsigned char bit; // 0: never marked
    Repair repair;
};

const Item kItems[] = {
    {0, 0, Qt::Key_1, QT_TRANSLATE_NOOP("ParamRepairMenu", "1.更换显示屏时系统参数修复"), 1,
     {storeSystem, QT_TRANSLATE_NOOP("ParamRepairMenu", "确定要把当前的系统参数存入显示屏备份吗?"),
      QT_TRANSLATE_NOOP("ParamRepairMenu", "把当前的系统参数存入显示屏备份成功 !"),
      QT_TRANSLATE_NOOP("ParamRepairMenu", "打开系统备份参数失败 , 请重试 !")}},
    {0, 2, Qt::Key_2, QT_TRANSLATE_NOOP("ParamRepairMenu", "2.更换主板时系统参数修复"), 1,
     {sendSystem, QT_TRANSLATE_NOOP("ParamRepairMenu", "确定要显示屏备份的系统参数导到主板吗?"),
      QT_TRANSLATE_NOOP("ParamRepairMenu", "把显示屏备份的系统参数导到主板成功 !"),
      QT_TRANSLATE_NOOP("ParamRepairMenu", "上传系统参数失败, 请重试 !")}},
    {0, 4, Qt::Key_3, QT_TRANSLATE_NOOP("ParamRepairMenu", "3.更换显示屏时个性化参数修复"), 2,
     {storeConfig, QT_TRANSLATE_NOOP("ParamRepairMenu", "确定要把当前的系统参数存入显示屏个性化参数备份吗?"),
      QT_TRANSLATE_NOOP("ParamRepairMenu", "把当前的个性化参数存入显示屏个性化参数备份成功 !"),
      QT_TRANSLATE_NOOP("ParamRepairMenu", "打开系统备份参数失败 , 请重试 !")}},
    {0, 6, Qt::Key_4, QT_TRANSLATE_NOOP("ParamRepairMenu", "4.更换主板时个性化参数修复"), 2,
     {sendConfig, QT_TRANSLATE_NOOP("ParamRepairMenu", "确定要显示屏备份的个性化参数导到主板吗?"),
      QT_TRANSLATE_NOOP("ParamRepairMenu", "把显示屏备份的个性化参数导到主板成功 !"),
      QT_TRANSLATE_NOOP("ParamRepairMenu", "上传系统参数失败, 请重试 !")}},
    {1, 7, Qt::Key_H, QT_TRANSLATE_NOOP("ParamRepairMenu", "H.关闭控制器"), 0, {}},
};

} // namespace

ParamRepairMenu::ParamRepairMenu(MachineData &machine, QWidget *parent, unsigned char mask)
    : ScreenFrame(parent, "paramrepairmenu", true, kFrameless, mask), machine_(machine), mask_(mask)
{
    setTitleLine(QStringLiteral("Parameter Repair Menu"));
    setMessageLine(tr("更换系统硬件时, 系统参数和个性化参数修复 ."));
    menu_ = new MarkableListMenu(this);
    menu_->setContext("ParamRepairMenu");
    menu_->setGeometry(0, 50, 640, 430);
    connect(menu_, &MenuGrid::itemChosen, this, &ParamRepairMenu::chooseItem);
    connect(this, &ScreenFrame::closeRequested, this, &ParamRepairMenu::askCloseController);
    markRepairs(mask_);
    if (QWidget *first = menu_->item(0, 0))
        first->setFocus();
}

void ParamRepairMenu::markRepairs(unsigned char mask)
{
    for (const Item &it : kItems) {
        const bool marked = it.bit != 0 && (mask & it.bit) != 0;
        menu_->setItem(it.column, it.row, QString::fromUtf8(it.text), QIcon(), it.key);
        menu_->setNote(it.column, it.row, marked ? kNeedsRepair : nullptr);
        if (ListButtonNo *b = menu_->itemNo(it.column, it.row)) {
            b->setActive(marked ? 1 : 0);
            b->setPalette(marked ? PanelPalettes().labelText() : PanelPalettes().labelWhite());
        }
    }
}

void ParamRepairMenu::refreshMarks()
{
    markRepairs(mask_);
}

void ParamRepairMenu::repair(const char *question, bool (*action)(const MachineData &), unsigned char bit, const char *success,
                       const char *failure)
{
    if (!askYesNo(this, tr(question)))
        return;
    if (!ControllerCommands::stopped()) {
        showMessage(this, ControllerMessages::refusal(tr("机头正在运行, 请停止运行 !")));
        return;
    }
    if (!action(machine_)) {
        showMessage(this, tr(failure));
        return;
    }
    mask_ &= static_cast<unsigned char>(~bit);
    showMessage(this, tr(success));
    refreshMarks();
}

void ParamRepairMenu::shutdown()
{
    if (!askYesNo(this, tr("确定要关闭控制系统吗 ?")))
        return;
    if (!ControllerCommands::stopped()) {
        showMessage(this, ControllerMessages::refusal(tr("机头正在运行, 不能关机 ! ")));
        return;
    }
    if (ControllerCommands::action(Protocol::ShutDown, 0))
        showMessage(this, tr("正在关机, 请稍等 ... ... "));
    else
        showMessage(this, tr("不能关机, 请检查主控制器 !"));
}

void ParamRepairMenu::chooseItem(int column, int row)
{
    for (const Item &it : kItems) {
        if (it.column != column || it.row != row)
            continue;
        if (it.repair.action)
            repair(it.repair.question, it.repair.action, it.bit, it.repair.success, it.repair.failure);
        else
            shutdown();
    }
}

void ParamRepairMenu::askCloseController()
{
    if (askYesNo(this, tr("按<取消>将进入主界面, 按<确定>将关闭控制器 .")))
        shutdown();
}
