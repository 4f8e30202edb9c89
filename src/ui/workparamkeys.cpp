#include "workparamkeys.h"

WorkParamKeys::WorkParamKeys(QWidget *parent, const char *name)
    : KeyColumn(parent, name)
{
}

PanelKeys WorkParamKeys::keys(int type)
{
    switch (type) {
    case kPagedType:
        return {{tr(" 上一页"), Qt::Key_PageUp},
                {tr(" 下一页"), Qt::Key_PageDown},
                {tr(" 整组修改"), Qt::Key_M}};
    case kParkingType:
        return {{tr(" 上一组"), Qt::Key_PageUp}, {tr(" 下一组"), Qt::Key_PageDown}};
    default:
        return {};
    }
}
