#include "runningparamframe.h"

#include <QtGlobal>

RunningParamFrame::RunningParamFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "runningparamframe", ParamFrame::kControllerTitle, QT_TRANSLATE_NOOP("ParamFrame", "工  作  参  数"))
{
}
