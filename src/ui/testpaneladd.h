#pragma once

#include "widgetpanel.h"

// The carriage test's automatic-test column: the five cycle modes and the three selector
// frequency tests, the same whatever the selection.
class testpaneladd : public widgetpanel
{
    Q_OBJECT

public:
    explicit testpaneladd(QWidget *parent = nullptr, const char *name = nullptr);

    static PanelKeys keys();

protected:
    PanelKeys keysFor(int) const override { return keys(); }
};
