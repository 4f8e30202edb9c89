#include "palettes.h"

#include "data/machinedata.h"

#include <QColor>

#include <initializer_list>
#include <utility>

QPalette palette_label_dark;
QPalette palette_label_white;
QPalette palette_button_dark;
QPalette palette_label_desktop;
QPalette palette_label_back;
QPalette palette_label_text;
QPalette palette_button_text;

namespace {

using RoleColour = std::pair<QPalette::ColorRole, QColor>;

QPalette build(std::initializer_list<RoleColour> roles)
{
    QPalette p;
    for (const RoleColour &rc : roles)
        p.setColor(rc.first, rc.second); // all colour groups alike, as the panel never greys out
    return p;
}

int channel(int value)
{
    // Config.ini is outside input: a colour field out of 0-255 must not give an invalid colour.
    return value < 0 ? 0 : value > 255 ? 255 : value;
}

} // namespace

void init_system_color(const MachineData &data)
{
    using R = QPalette;
    const MachineData::ControllerConfig &config = data.controllerConfig();
    const QColor d(channel(config[0]), channel(config[1]), channel(config[2]));
    const QColor l(232, 232, 232);
    const QColor r(255, 0, 0);

    palette_label_dark = build({{R::Window, d}, {R::WindowText, l}, {R::Button, d}, {R::Light, d},
                                {R::Midlight, l}, {R::Dark, d}, {R::Mid, d}, {R::ButtonText, l},
                                {R::Shadow, l}, {R::Highlight, d}, {R::HighlightedText, l}});
    palette_label_white = build({{R::Window, l}, {R::WindowText, d}, {R::Button, l}, {R::Light, d},
                                 {R::Midlight, l}, {R::Dark, d}, {R::Mid, d}, {R::Text, d},
                                 {R::ButtonText, d}, {R::Base, l}, {R::Shadow, l}, {R::Highlight, d},
                                 {R::HighlightedText, l}});
    palette_button_dark = build({{R::Window, d}, {R::WindowText, l}, {R::Button, l}, {R::Light, d},
                                 {R::Midlight, l}, {R::Dark, d}, {R::Mid, d}, {R::ButtonText, d},
                                 {R::Shadow, l}, {R::Highlight, d}});
    palette_label_desktop = build({{R::Window, l}, {R::WindowText, d}, {R::Button, l}, {R::Light, l},
                                   {R::Midlight, l}, {R::Dark, l}, {R::Mid, d}, {R::ButtonText, d},
                                   {R::Shadow, l}, {R::Highlight, d}, {R::HighlightedText, l}});
    palette_label_back = build({{R::Window, l}, {R::WindowText, l}, {R::Button, d}, {R::Light, d},
                                {R::Midlight, l}, {R::Dark, d}, {R::Mid, d}, {R::ButtonText, l},
                                {R::Shadow, l}, {R::Highlight, d}, {R::HighlightedText, l}});
    palette_label_text = build({{R::Window, l}, {R::WindowText, r}, {R::Button, l}, {R::Light, d},
                                {R::Midlight, l}, {R::Dark, d}, {R::Mid, d}, {R::Text, d},
                                {R::ButtonText, r}, {R::Base, l}, {R::Shadow, l}, {R::Highlight, d},
                                {R::HighlightedText, l}});
    palette_button_text = QPalette();
}
