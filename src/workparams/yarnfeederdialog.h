#pragma once

#include "workparamsframe.h"

// The yarn feeders, on their own key (4).
class YarnFeederDialog : public WorkParamsFrame
{
    Q_OBJECT
public:
    explicit YarnFeederDialog(MachineData &machine, QWidget *parent = nullptr, const char *name = "yarnfeederdialog");
};
