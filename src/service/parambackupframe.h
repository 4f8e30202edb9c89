#pragma once

#include "parambackupmenu.h"
#include "serviceframe.h"

// The frame of the parameter backup menu: its message line above the page.
class ParamBackupFrame : public ServiceFrame<ParamBackupMenu>
{
    Q_OBJECT
public:
    explicit ParamBackupFrame(MachineData &machine, QWidget *parent = nullptr);
};
