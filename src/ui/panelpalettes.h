#pragma once

#include "data/machinedata.h"

#include <QColor>
#include <QPalette>

// The panel's palettes, all made from one dark colour, the controller configuration's. Start-up
// makes the white label's palette the application's (apply()); that palette carries the dark
// colour, so a widget takes any of the others from it (a default-made PanelPalettes). Each
// palette is built once for the dark colour in use and shared after (BuiltPalettes). Each
// palette sets its roles alike in every colour group, as the panel never greys out; a role it
// leaves unset resolves against the widget's parent.
class PanelPalettes
{
public:
    // The application's: from the dark colour its palette carries.
    PanelPalettes();
    explicit PanelPalettes(const QColor &dark) : dark_(dark) {}

    // Fields 0-2 of the controller configuration; Config.ini is outside input, so a field out
    // of 0-255 is clamped rather than giving an invalid colour.
    static QColor darkOf(const MachineData::ControllerConfig &config);
    // The white label's palette of dark becomes the application's.
    static void apply(const QColor &dark);

    QPalette labelDark() const;
    QPalette labelWhite() const;
    QPalette buttonDark() const;
    QPalette labelDesktop() const;
    QPalette labelBack() const;
    QPalette labelText() const;
    // The style's default palette, unchanged.
    QPalette buttonText() const { return QPalette(); }

private:
    QColor dark_;
};
