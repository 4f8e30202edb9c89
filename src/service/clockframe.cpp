#include "clockframe.h"

ClockFrame::ClockFrame(QWidget *parent)
    : ServiceFrame(parent, "clockframe", tr("控制器系统时间设置"))
{
}
