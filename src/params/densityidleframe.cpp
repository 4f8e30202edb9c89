#include "densityidleframe.h"

#include <QtGlobal>

DensityIdleFrame::DensityIdleFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "densityidleframe", ParamFrame::kControllerTitle, QT_TRANSLATE_NOOP("ParamFrame", "不 工 作 密 度"))
{
}
