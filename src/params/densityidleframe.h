#pragma once

#include "densityidlepage.h"
#include "pageframe.h"

// The frame of the idle densities page: its title and group box text around the page.
class DensityIdleFrame : public PageFrame<DensityIdlePage>
{
    Q_OBJECT
public:
    explicit DensityIdleFrame(MachineData &machine, QWidget *parent = nullptr);
};
