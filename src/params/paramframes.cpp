#include "paramframes.h"

#include <QtGlobal>

namespace {

const char kController[] = "Controller Parameter Setting";

} // namespace

SystemParamFrame::SystemParamFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "mydialogsystem", kController, QT_TRANSLATE_NOOP("ParamFrame", "系  统  参  数"))
{
}

RunningParamFrame::RunningParamFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "mydialogwrk", kController, QT_TRANSLATE_NOOP("ParamFrame", "工  作  参  数"))
{
}

FrequentSettingsFrame::FrequentSettingsFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "constparasetting", "Running Parameter Setting", QT_TRANSLATE_NOOP("ParamFrame", "常用参数设置"))
{
}

RackingCorrectionFrame::RackingCorrectionFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "mydialogmbed", kController, QT_TRANSLATE_NOOP("ParamFrame", "摇床位置修正"))
{
}

DensityCorrectionFrame::DensityCorrectionFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "mydialogmdensity", kController, QT_TRANSLATE_NOOP("ParamFrame", "密 度 电 机 修 正"))
{
}

DensityIdleFrame::DensityIdleFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "mydialognoworkdensity", kController, QT_TRANSLATE_NOOP("ParamFrame", "不 工 作 密 度"))
{
}

CarriageAccelerationFrame::CarriageAccelerationFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "mydialog_add_type", kController, QT_TRANSLATE_NOOP("ParamFrame", "机头加减速类型"))
{
}

PersonalisationFrame::PersonalisationFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "mytriangleboard", kController, QT_TRANSLATE_NOOP("ParamFrame", "机器个性化参数设置"))
{
}

CarrierSpeedCorrectionFrame::CarrierSpeedCorrectionFrame(MachineData &machine, QWidget *parent)
    : PageFrame(machine, parent, "myspeedmouth", kController, QT_TRANSLATE_NOOP("ParamFrame", "纱嘴停放与机头速度对照表"))
{
}
