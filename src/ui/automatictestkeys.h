#pragma once

#include "keycolumn.h"

// The carriage test's automatic-test column: the five cycle modes and the three selector
// frequency tests, the same whatever the selection.
class AutomaticTestKeys : public KeyColumn
{
    Q_OBJECT

public:
    explicit AutomaticTestKeys(QWidget *parent = nullptr, const char *name = nullptr);

    static PanelKeys keys();

protected:
    PanelKeys keysFor(int) const override { return keys(); }
};
