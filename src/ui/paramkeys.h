#pragma once

#include "keycolumn.h"

// The key column of the parameter pages (system, running, constant, calibration): the keys
// that suit the focused cell, told by the cell's panel code.
class ParamKeys : public KeyColumn
{
    Q_OBJECT

public:
    explicit ParamKeys(QWidget *parent = nullptr, const char *name = nullptr);

    // The keys shown for a panel code; empty for 254, 255 and codes without keys.
    static PanelKeys keys(int code);

public Q_SLOTS:
    // Connected to a page's panelCodeChanged(int).
    void showKeysForCell(int code) { showKeysFor(code); }
    void postCellKey(int id) { postKey(id); }

protected:
    PanelKeys keysFor(int code) const override { return keys(code); }
};
