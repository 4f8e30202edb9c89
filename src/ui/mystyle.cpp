#include "mystyle.h"

#include <QStyleFactory>
#include <QStyleOptionButton>

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

void mystyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                          const QWidget *widget) const
{
    const bool button = element == CE_PushButton || element == CE_CheckBox || element == CE_RadioButton;
    const auto *b = qstyleoption_cast<const QStyleOptionButton *>(option);
    if (button && b && !(b->state & State_Enabled)) {
        QStyleOptionButton dimmed(*b);
        dimmed.palette = dimmedOf(b->palette);
        QProxyStyle::drawControl(element, &dimmed, painter, widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

const QPalette &mystyle::dimmedOf(const QPalette &palette) const
{
    // Fusion keeps a button's face in the pixmap cache under its palette's key: a palette dimmed
    // anew on each paint has a new key each time, and every paint of a disabled button would
    // add an entry that is never found again. The panel's palettes are few; the bound is for
    // the copies focus changes make.
    auto it = dimmed_.find(palette.cacheKey());
    if (it == dimmed_.end()) {
        if (dimmed_.size() >= kDimmedKept)
            dimmed_.clear();
        QPalette copy = palette;
        dim(copy);
        it = dimmed_.emplace(palette.cacheKey(), copy).first;
    }
    return it->second;
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
