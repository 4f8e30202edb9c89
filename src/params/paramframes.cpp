#include "paramframes.h"

namespace {

const char kController[] = "Controller Parameter Setting";

} // namespace

mydialogsystem::mydialogsystem(QWidget *parent)
    : PageFrame(parent, "mydialogsystem", kController, "系  统  参  数")
{
}

mydialogwrk::mydialogwrk(QWidget *parent)
    : PageFrame(parent, "mydialogwrk", kController, "工  作  参  数")
{
}

constparasetting::constparasetting(QWidget *parent)
    : PageFrame(parent, "constparasetting", "Running Parameter Setting", "常用参数设置")
{
}

mydialogmbed::mydialogmbed(QWidget *parent)
    : PageFrame(parent, "mydialogmbed", kController, "摇床位置修正")
{
}

mydialogmdensity::mydialogmdensity(QWidget *parent)
    : PageFrame(parent, "mydialogmdensity", kController, "密 度 电 机 修 正")
{
}

mydialognoworkdensity::mydialognoworkdensity(QWidget *parent)
    : PageFrame(parent, "mydialognoworkdensity", kController, "不 工 作 密 度")
{
}

mydialog_add_type::mydialog_add_type(QWidget *parent)
    : PageFrame(parent, "mydialog_add_type", kController, "机头加减速类型")
{
}

mytriangleboard::mytriangleboard(QWidget *parent)
    : PageFrame(parent, "mytriangleboard", kController, "机器个性化参数设置")
{
}

myspeedmouth::myspeedmouth(QWidget *parent)
    : PageFrame(parent, "myspeedmouth", kController, "纱嘴停放与机头速度对照表")
{
}
