#pragma once

#include "densitycorrectionpage.h"
#include "pageframe.h"

// The frame of the density motor correction page: its title and group box text around the page.
class DensityCorrectionFrame : public PageFrame<DensityCorrectionPage>
{
    Q_OBJECT
public:
    explicit DensityCorrectionFrame(MachineData &machine, QWidget *parent = nullptr);
};
