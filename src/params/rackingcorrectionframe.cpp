#include "rackingcorrectionframe.h"

#include <QtGlobal>

RackingCorrectionFrame::RackingCorrectionFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "rackingcorrectionframe", ParamFrame::kControllerTitle, QT_TRANSLATE_NOOP("ParamFrame", "摇床位置修正"))
{
}
