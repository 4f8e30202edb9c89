#include "parambackupframe.h"

#include <QPushButton>

ParamBackupFrame::ParamBackupFrame(MachineData &machine, QWidget *parent)
    : ServiceFrame(parent, "parambackupframe", tr("系统参导入导出数和初始化"), machine)
{
    // A menu page starts with its first item focused.
    if (QWidget *first = page()->item(0, 0))
        first->setFocus();
}
