#pragma once

#include "pageframe.h"
#include "runningparampage.h"

// The frame of the running parameters page: its title and group box text around the page.
class RunningParamFrame : public PageFrame<RunningParamPage>
{
    Q_OBJECT
public:
    explicit RunningParamFrame(MachineData &machine, QWidget *parent = nullptr);
};
