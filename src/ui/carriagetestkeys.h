#pragma once

#include "keycolumn.h"

// The key column of the carriage test page, by the test number of the selected element
// (group x 5 + kind).
class CarriageTestKeys : public KeyColumn
{
    Q_OBJECT

public:
    explicit CarriageTestKeys(QWidget *parent = nullptr, const char *name = nullptr);

    static constexpr int testNumber(int group, int kind) { return group * 5 + kind; }
    static PanelKeys keys(int number);

protected:
    PanelKeys keysFor(int number) const override { return keys(number); }
};
