#include "desktopsettingsframe.h"

DesktopSettingsFrame::DesktopSettingsFrame(MachineData &machine, QWidget *parent)
    : ServiceFrame(parent, "desktopsettingsframe", tr("控制器桌面图片和屏幕保护时间设置"), machine)
{
    connect(page(), &DesktopSettingsPage::desktopPictureChanged, this, &DesktopSettingsFrame::desktopPictureChanged);
}
