#pragma once

#include "pageframe.h"
#include "systemparampage.h"

// The frame of the system parameters page: its title and group box text around the page.
class SystemParamFrame : public PageFrame<SystemParamPage>
{
    Q_OBJECT
public:
    explicit SystemParamFrame(MachineData &machine, QWidget *parent = nullptr);
};
