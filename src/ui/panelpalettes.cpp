#include "panelpalettes.h"

#include <QGuiApplication>

#include <array>
#include <initializer_list>
#include <optional>
#include <utility>

namespace {

using R = QPalette;
using RoleColour = std::pair<QPalette::ColorRole, QColor>;

const QColor kLight(232, 232, 232);
const QColor kRed(255, 0, 0);

QPalette build(std::initializer_list<RoleColour> roles)
{
    QPalette p;
    for (const RoleColour &rc : roles)
        p.setColor(rc.first, rc.second); // all colour groups alike
    return p;
}

enum Kind { LabelDark, LabelWhite, ButtonDark, LabelDesktop, LabelBack, LabelText, Kinds };

// Each palette built once for the dark colour in use and shared after (copies of a QPalette
// share it until one is changed): start-up alone asks some ninety times, and each build sets
// every role in every colour group. Another dark colour starts the set afresh.
template <typename Make>
QPalette shared(const QColor &dark, Kind kind, Make make)
{
    static QColor builtFor;
    static std::array<std::optional<QPalette>, Kinds> built;
    if (dark != builtFor) {
        built.fill(std::nullopt);
        builtFor = dark;
    }
    if (!built[kind])
        built[kind] = make();
    return *built[kind];
}

int channel(int value)
{
    return value < 0 ? 0 : value > 255 ? 255 : value;
}

} // namespace

PanelPalettes::PanelPalettes()
    : dark_(QGuiApplication::palette().color(QPalette::Dark))
{
}

QColor PanelPalettes::darkOf(const MachineData::ControllerConfig &config)
{
    return QColor(channel(config[0]), channel(config[1]), channel(config[2]));
}

void PanelPalettes::apply(const QColor &dark)
{
    QGuiApplication::setPalette(PanelPalettes(dark).labelWhite());
}

QPalette PanelPalettes::labelDark() const
{
    const QColor &d = dark_, &l = kLight;
    return shared(dark_, LabelDark, [&] {
        return build({{R::Window, d}, {R::WindowText, l}, {R::Button, d}, {R::Light, d}, {R::Midlight, l}, {R::Dark, d},
                      {R::Mid, d}, {R::ButtonText, l}, {R::Shadow, l}, {R::Highlight, d}, {R::HighlightedText, l}});
    });
}

QPalette PanelPalettes::labelWhite() const
{
    const QColor &d = dark_, &l = kLight;
    return shared(dark_, LabelWhite, [&] {
        return build({{R::Window, l}, {R::WindowText, d}, {R::Button, l}, {R::Light, d}, {R::Midlight, l}, {R::Dark, d},
                      {R::Mid, d}, {R::Text, d}, {R::ButtonText, d}, {R::Base, l}, {R::Shadow, l}, {R::Highlight, d},
                      {R::HighlightedText, l}});
    });
}

QPalette PanelPalettes::buttonDark() const
{
    const QColor &d = dark_, &l = kLight;
    return shared(dark_, ButtonDark, [&] {
        return build({{R::Window, d}, {R::WindowText, l}, {R::Button, l}, {R::Light, d}, {R::Midlight, l}, {R::Dark, d},
                      {R::Mid, d}, {R::ButtonText, d}, {R::Shadow, l}, {R::Highlight, d}});
    });
}

QPalette PanelPalettes::labelDesktop() const
{
    const QColor &d = dark_, &l = kLight;
    return shared(dark_, LabelDesktop, [&] {
        return build({{R::Window, l}, {R::WindowText, d}, {R::Button, l}, {R::Light, l}, {R::Midlight, l}, {R::Dark, l},
                      {R::Mid, d}, {R::ButtonText, d}, {R::Shadow, l}, {R::Highlight, d}, {R::HighlightedText, l}});
    });
}

QPalette PanelPalettes::labelBack() const
{
    const QColor &d = dark_, &l = kLight;
    return shared(dark_, LabelBack, [&] {
        return build({{R::Window, l}, {R::WindowText, l}, {R::Button, d}, {R::Light, d}, {R::Midlight, l}, {R::Dark, d},
                      {R::Mid, d}, {R::ButtonText, l}, {R::Shadow, l}, {R::Highlight, d}, {R::HighlightedText, l}});
    });
}

QPalette PanelPalettes::labelText() const
{
    const QColor &d = dark_, &l = kLight, &r = kRed;
    return shared(dark_, LabelText, [&] {
        return build({{R::Window, l}, {R::WindowText, r}, {R::Button, l}, {R::Light, d}, {R::Midlight, l}, {R::Dark, d},
                      {R::Mid, d}, {R::Text, d}, {R::ButtonText, r}, {R::Base, l}, {R::Shadow, l}, {R::Highlight, d},
                      {R::HighlightedText, l}});
    });
}
