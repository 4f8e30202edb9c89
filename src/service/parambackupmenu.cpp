#include "parambackupmenu.h"

#include "menurow.h"

#include "logic/controller/controllermessages.h"
#include "logic/params/parammessages.h"
#include "logic/service/systembackup.h"
#include "platform/panelpaths.h"
#include "ui/operatordialogs.h"
#include "ui/stickexportdialog.h"
#include "ui/stickimportdialog.h"
#include "ui/transferdialog.h"

namespace {

const char kRunning[] = QT_TRANSLATE_NOOP("ParamBackupMenu", "机头正在运行, 请停止运行 !");
const char kUploadFailed[] = QT_TRANSLATE_NOOP("ParamBackupMenu", "上传系统参数失败, 请重试 !");

// Row n is item n + 1, its text the number, a dot and its words.
const MenuRow<ParamBackupMenu> kItems[] = {
    {Qt::Key_1, QT_TRANSLATE_NOOP("ParamBackupMenu", "1.系统参数初始化"), &ParamBackupMenu::initialiseParameters},
    {Qt::Key_2, QT_TRANSLATE_NOOP("ParamBackupMenu", "2.从电子盘读入系统参数"), &ParamBackupMenu::restoreFromDisk},
    {Qt::Key_3, QT_TRANSLATE_NOOP("ParamBackupMenu", "3.从U盘导入系统参数"), &ParamBackupMenu::restoreFromStick},
    {Qt::Key_4, QT_TRANSLATE_NOOP("ParamBackupMenu", "4.系统参数写入到电子盘"), &ParamBackupMenu::backUpToDisk},
    {Qt::Key_5, QT_TRANSLATE_NOOP("ParamBackupMenu", "5.导出系统参数到U盘"), &ParamBackupMenu::backUpToStick},
};

} // namespace

ParamBackupMenu::ParamBackupMenu(MachineData &machine, QWidget *parent, const char *name)
    : ListMenu(parent, name)
    , machine_(machine)
{
    setContext("ParamBackupMenu");
    for (int row = 0; row < int(std::size(kItems)); ++row)
        setItem(0, row, QString::fromUtf8(kItems[row].text), QIcon(), kItems[row].key);
    connect(this, &MenuGrid::itemChosen, this, &ParamBackupMenu::chooseItem);
}

void ParamBackupMenu::chooseItem(int column, int row)
{
    dispatchMenu(this, kItems, column, row);
}

bool ParamBackupMenu::updateFromFile(const QString &path)
{
    switch (SystemBackup::updateFromFile(machine_, path, TransferDialog::withController())) {
    case SystemBackup::Done:
        return true;
    case SystemBackup::CheckCopyFailed:
        showMessage(this, tr(kUploadFailed));
        return true;
    case SystemBackup::Running:
        showMessage(this, ControllerMessages::refusal(tr(kRunning)));
        return false;
    case SystemBackup::UploadFailed:
        showMessage(this, tr(kUploadFailed));
        return false;
    default:
        showMessage(this, tr("打开系统参数失败, 请重试 !"));
        return false;
    }
}

bool ParamBackupMenu::download(const QString &path)
{
    switch (SystemBackup::download(machine_, path)) {
    case SystemBackup::Done:
        return true;
    case SystemBackup::Running:
        showMessage(this, ControllerMessages::refusal(tr(kRunning)));
        return false;
    default:
        showMessage(this, tr("打开系统参数失败 , 请重试 !"));
        return false;
    }
}

void ParamBackupMenu::initialiseParameters()
{
    if (askYesNo(this, tr("确定要初始化系统参数吗?")) && updateFromFile(PanelPaths::tmp(QStringLiteral("/default.sys"))))
        showMessage(this, tr("系统参数初始化成功 !"));
}

void ParamBackupMenu::restoreFromDisk()
{
    if (askYesNo(this, tr("确定要从电子盘读入系统参数吗?")) && updateFromFile(SystemBackup::diskBackup()))
        showMessage(this, tr("从电子盘读入系统参数成功 !"));
}

void ParamBackupMenu::restoreFromStick()
{
    const QString file = PanelPaths::tmp(QStringLiteral("/file.sys"));
    if (StickImportDialog::openFileFromStick(file, tr("从U盘导入系统参数 ... ..."), PanelPaths::usbRoot(),
                                            QStringLiteral("*.sys"), this)
        && updateFromFile(file))
        showMessage(this, tr("从U盘导入系统参数成功 !"));
}

void ParamBackupMenu::backUpToDisk()
{
    if (askYesNo(this, tr("确定要将系统参数写入到从电子盘吗?")) && download(SystemBackup::diskBackup()))
        showMessage(this, tr(" 系统参数写入到从电子盘读入成功 !"));
}

void ParamBackupMenu::backUpToStick()
{
    const QString name = askText(this, QString(), tr("输入系统参数名称( 0 - 9的数字 )"), 10);
    if (name.isEmpty())
        return;
    // The name becomes a file name in tmp/: only the digits the prompt asks for.
    const QString path = SystemBackup::exportPath(name);
    if (path.isEmpty()) {
        showMessage(this, QString::fromUtf8(ParamMessages::kOutOfRange));
        return;
    }
    if (download(path))
        StickExportDialog::saveFileToStick(path, tr("导出系统参数到U盘 ... ..."), PanelPaths::usbRoot(),
                                             QStringLiteral("*.sys"), this);
}
