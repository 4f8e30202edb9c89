#include "panelpalettes.h"

#include "builtpalettes.h"
#include "platform/applicationparts.h"

#include <QGuiApplication>

#include <initializer_list>
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

// Built once per dark colour by the application's set; without one, every time.
QPalette shared(const QColor &dark, BuiltPalettes::Kind kind, BuiltPalettes::Make make)
{
    BuiltPalettes *set = ApplicationParts::find<BuiltPalettes>();
    return set ? set->palette(dark, kind, make) : make(dark);
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
    return shared(dark_, BuiltPalettes::LabelDark, [](const QColor &d) {
        const QColor &l = kLight;
        return build({{R::Window, d}, {R::WindowText, l}, {R::Button, d}, {R::Light, d}, {R::Midlight, l}, {R::Dark, d},
                      {R::Mid, d}, {R::ButtonText, l}, {R::Shadow, l}, {R::Highlight, d}, {R::HighlightedText, l}});
    });
}

QPalette PanelPalettes::labelWhite() const
{
    return shared(dark_, BuiltPalettes::LabelWhite, [](const QColor &d) {
        const QColor &l = kLight;
        return build({{R::Window, l}, {R::WindowText, d}, {R::Button, l}, {R::Light, d}, {R::Midlight, l}, {R::Dark, d},
                      {R::Mid, d}, {R::Text, d}, {R::ButtonText, d}, {R::Base, l}, {R::Shadow, l}, {R::Highlight, d},
                      {R::HighlightedText, l}});
    });
}

QPalette PanelPalettes::buttonDark() const
{
    return shared(dark_, BuiltPalettes::ButtonDark, [](const QColor &d) {
        const QColor &l = kLight;
        return build({{R::Window, d}, {R::WindowText, l}, {R::Button, l}, {R::Light, d}, {R::Midlight, l}, {R::Dark, d},
                      {R::Mid, d}, {R::ButtonText, d}, {R::Shadow, l}, {R::Highlight, d}});
    });
}

QPalette PanelPalettes::labelDesktop() const
{
    return shared(dark_, BuiltPalettes::LabelDesktop, [](const QColor &d) {
        const QColor &l = kLight;
        return build({{R::Window, l}, {R::WindowText, d}, {R::Button, l}, {R::Light, l}, {R::Midlight, l}, {R::Dark, l},
                      {R::Mid, d}, {R::ButtonText, d}, {R::Shadow, l}, {R::Highlight, d}, {R::HighlightedText, l}});
    });
}

QPalette PanelPalettes::labelBack() const
{
    return shared(dark_, BuiltPalettes::LabelBack, [](const QColor &d) {
        const QColor &l = kLight;
        return build({{R::Window, l}, {R::WindowText, l}, {R::Button, d}, {R::Light, d}, {R::Midlight, l}, {R::Dark, d},
                      {R::Mid, d}, {R::ButtonText, l}, {R::Shadow, l}, {R::Highlight, d}, {R::HighlightedText, l}});
    });
}

QPalette PanelPalettes::labelText() const
{
    return shared(dark_, BuiltPalettes::LabelText, [](const QColor &d) {
        const QColor &l = kLight, &r = kRed;
        return build({{R::Window, l}, {R::WindowText, r}, {R::Button, l}, {R::Light, d}, {R::Midlight, l}, {R::Dark, d},
                      {R::Mid, d}, {R::Text, d}, {R::ButtonText, r}, {R::Base, l}, {R::Shadow, l}, {R::Highlight, d},
                      {R::HighlightedText, l}});
    });
}
