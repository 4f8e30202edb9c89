#include "densitycorrectionframe.h"

#include <QtGlobal>

DensityCorrectionFrame::DensityCorrectionFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "densitycorrectionframe", ParamFrame::kControllerTitle, QT_TRANSLATE_NOOP("ParamFrame", "密 度 电 机 修 正"))
{
}
