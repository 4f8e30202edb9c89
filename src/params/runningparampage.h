#pragma once

#include "paramgrid.h"

// The running parameters: main motor, sinkers and safety functions, system block words 0-21,
// 29 and 28, sent to group 1 under their word index. The menu keeps the update open.
class RunningParamPage : public ParamGrid
{
    Q_OBJECT

public:
    static const ParamTable &paramTable();

    explicit RunningParamPage(MachineData &machine, QWidget *parent = nullptr, const char *name = "runningparampage");
};
