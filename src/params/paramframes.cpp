#include "paramframes.h"

#include <QtGlobal>

namespace {

const char kController[] = "Controller Parameter Setting";

} // namespace

mydialogsystem::mydialogsystem(QWidget *parent)
    : PageFrame(parent, "mydialogsystem", kController, QT_TRANSLATE_NOOP("ParamFrame", "系  统  参  数"))
{
}

mydialogwrk::mydialogwrk(QWidget *parent)
    : PageFrame(parent, "mydialogwrk", kController, QT_TRANSLATE_NOOP("ParamFrame", "工  作  参  数"))
{
}

constparasetting::constparasetting(QWidget *parent)
    : PageFrame(parent, "constparasetting", "Running Parameter Setting", QT_TRANSLATE_NOOP("ParamFrame", "常用参数设置"))
{
}

mydialogmbed::mydialogmbed(QWidget *parent)
    : PageFrame(parent, "mydialogmbed", kController, QT_TRANSLATE_NOOP("ParamFrame", "摇床位置修正"))
{
}

mydialogmdensity::mydialogmdensity(QWidget *parent)
    : PageFrame(parent, "mydialogmdensity", kController, QT_TRANSLATE_NOOP("ParamFrame", "密 度 电 机 修 正"))
{
}

mydialognoworkdensity::mydialognoworkdensity(QWidget *parent)
    : PageFrame(parent, "mydialognoworkdensity", kController, QT_TRANSLATE_NOOP("ParamFrame", "不 工 作 密 度"))
{
}

mydialog_add_type::mydialog_add_type(QWidget *parent)
    : PageFrame(parent, "mydialog_add_type", kController, QT_TRANSLATE_NOOP("ParamFrame", "机头加减速类型"))
{
}

mytriangleboard::mytriangleboard(QWidget *parent)
    : PageFrame(parent, "mytriangleboard", kController, QT_TRANSLATE_NOOP("ParamFrame", "机器个性化参数设置"))
{
}

myspeedmouth::myspeedmouth(QWidget *parent)
    : PageFrame(parent, "myspeedmouth", kController, QT_TRANSLATE_NOOP("ParamFrame", "纱嘴停放与机头速度对照表"))
{
}
