#include "softwareupdateframe.h"

#include <QPushButton>

SoftwareUpdateFrame::SoftwareUpdateFrame(MachineData &machine, QWidget *parent)
    : ServiceFrame(parent, "softwareupdateframe", tr("控制器系统升级"), machine)
{
    // A menu page starts with its first item focused.
    if (QWidget *first = page()->item(0, 0))
        first->setFocus();
}
