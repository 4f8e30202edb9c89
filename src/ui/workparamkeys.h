#pragma once

#include "keycolumn.h"

// The key column of the work-parameter dialog: page and group keys, by the page type the
// dialog tells it on every change of tab.
class WorkParamKeys : public KeyColumn
{
    Q_OBJECT

public:
    static constexpr int kPagedType = 1;   // density, speed and roller pages
    static constexpr int kParkingType = 4; // carrier-parking page

    explicit WorkParamKeys(QWidget *parent = nullptr, const char *name = nullptr);

    // Empty for the types without keys; the dialog hides the panel then.
    static PanelKeys keys(int type);

protected:
    PanelKeys keysFor(int type) const override { return keys(type); }
};
