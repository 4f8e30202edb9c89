#include "multipanel.h"

multipanel::multipanel(QWidget *parent, const char *name)
    : widgetpanel(parent, name)
{
}

PanelKeys multipanel::keys(int type)
{
    switch (type) {
    case kPagedType:
        return {{QStringLiteral(" 上一页"), Qt::Key_PageUp},
                {QStringLiteral(" 下一页"), Qt::Key_PageDown},
                {QStringLiteral(" 整组修改"), Qt::Key_M}};
    case kParkingType:
        return {{QStringLiteral(" 上一组"), Qt::Key_PageUp}, {QStringLiteral(" 下一组"), Qt::Key_PageDown}};
    default:
        return {};
    }
}
