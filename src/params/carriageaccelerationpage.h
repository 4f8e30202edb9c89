#pragma once

#include "paramgrid.h"

// The carriage's acceleration and deceleration control values: eight types (rows) of six
// items (columns), system block word 138 + 6 type + item, group 10 index 6 type + item.
class CarriageAccelerationPage : public ParamGrid
{
    Q_OBJECT

public:
    // Built afresh for each page: its group labels are numbered in the operator's language.
    static ParamTable paramTable();

    explicit CarriageAccelerationPage(MachineData &machine, QWidget *parent = nullptr, const char *name = "carriageaccelerationpage");
};
