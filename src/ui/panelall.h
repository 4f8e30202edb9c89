#pragma once

#include "widgetpanel.h"

// The key column of the parameter pages (system, running, constant, calibration): the keys
// that suit the focused cell, told by the cell's panel code.
class panelall : public widgetpanel
{
    Q_OBJECT

public:
    explicit panelall(QWidget *parent = nullptr, const char *name = nullptr);

    // The keys shown for a panel code; empty for 254, 255 and codes without keys.
    static PanelKeys keys(int code);

public slots:
    // Connected to a page's signal_panel(int).
    void slot_effect(int code) { slot_testtype(code); }
    void slot_send(int id) { slot_paneltest(id); }

protected:
    PanelKeys keysFor(int code) const override { return keys(code); }
};
