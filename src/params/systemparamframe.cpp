#include "systemparamframe.h"

#include <QtGlobal>

SystemParamFrame::SystemParamFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "systemparamframe", ParamFrame::kControllerTitle, QT_TRANSLATE_NOOP("ParamFrame", "系  统  参  数"))
{
}
