#include "personalisationframe.h"

#include <QtGlobal>

PersonalisationFrame::PersonalisationFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "personalisationframe", ParamFrame::kControllerTitle, QT_TRANSLATE_NOOP("ParamFrame", "机器个性化参数设置"))
{
}
