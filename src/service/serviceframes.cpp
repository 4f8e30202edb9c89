#include "serviceframes.h"

#include <QPushButton>

namespace {

// A menu page starts with its first item focused.
template <class Menu>
void focusFirst(Menu *menu)
{
    if (QWidget *first = menu->item(0, 0))
        first->setFocus();
}

} // namespace

ParamBackupFrame::ParamBackupFrame(MachineData &machine, QWidget *parent)
    : ServiceFrame(parent, "mydialogbackup", tr("系统参导入导出数和初始化"), machine)
{
    focusFirst(page());
}

SoftwareUpdateFrame::SoftwareUpdateFrame(MachineData &machine, QWidget *parent)
    : ServiceFrame(parent, "myupdata", tr("控制器系统升级"), machine)
{
    focusFirst(page());
}

ClockFrame::ClockFrame(QWidget *parent)
    : ServiceFrame(parent, "mytimedate", tr("控制器系统时间设置"))
{
}

DesktopSettingsFrame::DesktopSettingsFrame(MachineData &machine, QWidget *parent)
    : ServiceFrame(parent, "myattribute", tr("控制器桌面图片和屏幕保护时间设置"), machine)
{
    connect(page(), &DesktopSettingsPage::desktopPictureChanged, this, &DesktopSettingsFrame::desktopPictureChanged);
}
