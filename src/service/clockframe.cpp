#include "clockframe.h"

ClockFrame::ClockFrame(QWidget *parent)
    : ServiceFrame(parent, "mytimedate", tr("控制器系统时间设置"))
{
}
