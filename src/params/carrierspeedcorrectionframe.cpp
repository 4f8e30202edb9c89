#include "carrierspeedcorrectionframe.h"

#include <QtGlobal>

CarrierSpeedCorrectionFrame::CarrierSpeedCorrectionFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "carrierspeedcorrectionframe", ParamFrame::kControllerTitle, QT_TRANSLATE_NOOP("ParamFrame", "纱嘴停放与机头速度对照表"))
{
}
