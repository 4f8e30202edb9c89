#pragma once

#include "keycolumn.h"

// The key column of the input/output test page, by the test number of the focused output
// field (column + 3 x row of its 4 x 3 grid): the choices of the field as the page's output
// table lists them, or a number keypad.
class IoTestKeys : public KeyColumn
{
    Q_OBJECT

public:
    explicit IoTestKeys(QWidget *parent = nullptr, const char *name = nullptr);

    static constexpr int testNumber(int row, int column) { return column + 3 * row; }
    static PanelKeys keys(int number);

protected:
    PanelKeys keysFor(int number) const override { return keys(number); }
};
