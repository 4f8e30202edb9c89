#include "carriageaccelerationframe.h"

#include <QtGlobal>

CarriageAccelerationFrame::CarriageAccelerationFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "carriageaccelerationframe", ParamFrame::kControllerTitle, QT_TRANSLATE_NOOP("ParamFrame", "机头加减速类型"))
{
}
