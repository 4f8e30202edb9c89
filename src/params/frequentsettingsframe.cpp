#include "frequentsettingsframe.h"

#include <QtGlobal>

FrequentSettingsFrame::FrequentSettingsFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "frequentsettingsframe", "Running Parameter Setting", QT_TRANSLATE_NOOP("ParamFrame", "常用参数设置"))
{
}
