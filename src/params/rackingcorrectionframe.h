#pragma once

#include "pageframe.h"
#include "rackingcorrectionpage.h"

// The frame of the racking position correction page: its title and group box text around the page.
class RackingCorrectionFrame : public PageFrame<RackingCorrectionPage>
{
    Q_OBJECT
public:
    explicit RackingCorrectionFrame(MachineData &machine, QWidget *parent = nullptr);
};
