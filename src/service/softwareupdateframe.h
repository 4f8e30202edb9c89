#pragma once

#include "serviceframe.h"
#include "softwareupdatemenu.h"

// The frame of the software update menu: its message line above the page.
class SoftwareUpdateFrame : public ServiceFrame<SoftwareUpdateMenu>
{
    Q_OBJECT
public:
    explicit SoftwareUpdateFrame(MachineData &machine, QWidget *parent = nullptr);
};
