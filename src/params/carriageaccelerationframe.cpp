#include "carriageaccelerationframe.h"

#include <QtGlobal>

CarriageAccelerationFrame::CarriageAccelerationFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "mydialog_add_type", ParamFrame::kControllerTitle, QT_TRANSLATE_NOOP("ParamFrame", "机头加减速类型"))
{
}
