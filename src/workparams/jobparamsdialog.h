#pragma once

#include "workparamsframe.h"

// The work parameters of the job: density, speed, rollers, carrier parking, replacement and
// piece expansion; built once by the main window and kept.
class JobParamsDialog : public WorkParamsFrame
{
    Q_OBJECT
public:
    explicit JobParamsDialog(MachineData &machine, QWidget *parent = nullptr, const char *name = "jobparamsdialog");
};
