#include "mystyle.h"

#include <QStyleFactory>

mystyle::mystyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
}

int mystyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    switch (metric) {
    case PM_ScrollBarExtent:
        return 20; // a finger's width on the 640 x 480 screen
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
        return 18;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int mystyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                       QStyleHintReturn *returnData) const
{
    switch (hint) {
    case SH_UnderlineShortcut:
        return 0;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}
