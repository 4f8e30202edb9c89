#pragma once

#include "paramgrid.h"

// The density motors' idle positions: system block words 76-79, group 7 indices 16-19.
class DensityIdlePage : public ParamGrid
{
    Q_OBJECT

public:
    static const ParamTable &paramTable();

    explicit DensityIdlePage(MachineData &machine, QWidget *parent = nullptr, const char *name = "densityidlepage");
};
