#include "panelstyle.h"

#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionHeader>

namespace {

QColor mix(const QColor &a, const QColor &b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

// The panel's palettes give every colour group the same colours, so a disabled button or box
// would look like an enabled one: its texts and box face are drawn halfway to the background.
void dim(QPalette &palette)
{
    const QColor window = palette.color(QPalette::Window);
    const QColor button = palette.color(QPalette::Button);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
        palette.setColor(QPalette::Disabled, role, mix(palette.color(role), window));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, mix(palette.color(QPalette::ButtonText), button));
    palette.setColor(QPalette::Disabled, QPalette::Base, mix(palette.color(QPalette::Base), window));
}

} // namespace

PanelStyle::PanelStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
}

int PanelStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
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

void PanelStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                          const QWidget *widget) const
{
    if (const auto *b = qstyleoption_cast<const QStyleOptionButton *>(option)) {
        const bool button = element == CE_PushButton || element == CE_CheckBox || element == CE_RadioButton;
        QStyleOptionButton own(*b);
        if (button && !(b->state & State_Enabled))
            dim(own.palette);
        own.palette = interned(own.palette);
        return QProxyStyle::drawControl(element, &own, painter, widget);
    }
    if (const auto *h = qstyleoption_cast<const QStyleOptionHeader *>(option)) {
        QStyleOptionHeader own(*h);
        own.palette = interned(own.palette);
        return QProxyStyle::drawControl(element, &own, painter, widget);
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void PanelStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                 const QWidget *widget) const
{
    if (const auto *c = qstyleoption_cast<const QStyleOptionComboBox *>(option)) {
        QStyleOptionComboBox own(*c);
        own.palette = interned(own.palette);
        return QProxyStyle::drawComplexControl(control, &own, painter, widget);
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

QPalette PanelStyle::interned(const QPalette &palette) const
{
    // Every setPalette makes a palette object with a key of its own, and the panel sets them on
    // each focus change; a disabled look is made anew on each paint. Under their own keys each
    // would cache its faces again, and the cache keeps the name of every face it ever dropped.
    // The panel's colour sets are few: the bound is only a backstop.
    for (const QPalette &p : interned_) {
        if (p == palette)
            return p;
    }
    if (interned_.size() >= kInternedKept)
        interned_.clear();
    interned_.push_back(palette);
    return palette;
}

int PanelStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                       QStyleHintReturn *returnData) const
{
    switch (hint) {
    case SH_UnderlineShortcut:
        return 0;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}
