#include "dialogbackup.h"

#include "menutable.h"

#include "files/inputfiledialog.h"
#include "files/outputfiledialog.h"
#include "logic/parammessages.h"
#include "logic/systembackup.h"
#include "platform/panelpaths.h"
#include "ui/fileoperate.h"
#include "ui/operatordialogs.h"

namespace {

const char kRunning[] = "机头正在运行, 请停止运行 !";
const char kUploadFailed[] = "上传系统参数失败, 请重试 !";

// Row n is item n + 1, its text the number, a dot and its words.
const MenuRow<dialogbackup> kItems[] = {
    {Qt::Key_1, "系统参数初始化", &dialogbackup::slot_binit},
    {Qt::Key_2, "从电子盘读入系统参数", &dialogbackup::slot_hrecover},
    {Qt::Key_3, "从U盘导入系统参数", &dialogbackup::slot_urecover},
    {Qt::Key_4, "系统参数写入到电子盘", &dialogbackup::slot_hbackup},
    {Qt::Key_5, "导出系统参数到U盘", &dialogbackup::slot_ubackup},
};

} // namespace

dialogbackup::dialogbackup(QWidget *parent, const char *name)
    : MyMenu(parent, name)
{
    for (int row = 0; row < int(std::size(kItems)); ++row)
        setItem(0, row, QStringLiteral("%1.").arg(row + 1) + QString::fromUtf8(kItems[row].match), QIcon(), kItems[row].key);
    connect(this, &MenuGrid::signal_itemname, this, &dialogbackup::slot_press);
}

void dialogbackup::slot_press(const QString &text)
{
    dispatchMenu(this, kItems, text);
}

bool dialogbackup::updatafile(const QString &path)
{
    switch (SystemBackup::updatafile(path, fileoperate::withController())) {
    case SystemBackup::Done:
        return true;
    case SystemBackup::CheckCopyFailed:
        DIAMESSAGE(this, QString::fromUtf8(kUploadFailed));
        return true;
    case SystemBackup::Running:
        DIAMESSAGE(this, QString::fromUtf8(kRunning));
        return false;
    case SystemBackup::UploadFailed:
        DIAMESSAGE(this, QString::fromUtf8(kUploadFailed));
        return false;
    default:
        DIAMESSAGE(this, QStringLiteral("打开系统参数失败, 请重试 !"));
        return false;
    }
}

bool dialogbackup::download(const QString &path)
{
    switch (SystemBackup::download(path)) {
    case SystemBackup::Done:
        return true;
    case SystemBackup::Running:
        DIAMESSAGE(this, QString::fromUtf8(kRunning));
        return false;
    default:
        DIAMESSAGE(this, QStringLiteral("打开系统参数失败 , 请重试 !"));
        return false;
    }
}

void dialogbackup::slot_binit()
{
    if (DIAYESNO(this, QStringLiteral("确定要初始化系统参数吗?")) && updatafile(PanelPaths::tmp(QStringLiteral("/default.sys"))))
        DIAMESSAGE(this, QStringLiteral("系统参数初始化成功 !"));
}

void dialogbackup::slot_hrecover()
{
    if (DIAYESNO(this, QStringLiteral("确定要从电子盘读入系统参数吗?")) && updatafile(SystemBackup::diskBackup()))
        DIAMESSAGE(this, QStringLiteral("从电子盘读入系统参数成功 !"));
}

void dialogbackup::slot_urecover()
{
    const QString file = PanelPaths::tmp(QStringLiteral("/file.sys"));
    if (inputfiledialog::getopenfilefromusb(file, QStringLiteral("从U盘导入系统参数 ... ..."), PanelPaths::usbRoot(),
                                            QStringLiteral("*.sys"), this)
        && updatafile(file))
        DIAMESSAGE(this, QStringLiteral("从U盘导入系统参数成功 !"));
}

void dialogbackup::slot_hbackup()
{
    if (DIAYESNO(this, QStringLiteral("确定要将系统参数写入到从电子盘吗?")) && download(SystemBackup::diskBackup()))
        DIAMESSAGE(this, QStringLiteral(" 系统参数写入到从电子盘读入成功 !"));
}

void dialogbackup::slot_ubackup()
{
    const QString name = DIATEXT(this, QString(), QStringLiteral("输入系统参数名称( 0 - 9的数字 )"), 10);
    if (name.isEmpty())
        return;
    // The name becomes a file name in tmp/: only the digits the prompt asks for.
    const QString path = SystemBackup::exportPath(name);
    if (path.isEmpty()) {
        DIAMESSAGE(this, QString::fromUtf8(ParamMessages::kOutOfRange));
        return;
    }
    if (download(path))
        outputfiledialog::getsavefilefromusb(path, QStringLiteral("导出系统参数到U盘 ... ..."), PanelPaths::usbRoot(),
                                             QStringLiteral("*.sys"), this);
}
