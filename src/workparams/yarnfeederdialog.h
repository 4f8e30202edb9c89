#pragma once

#include "workparadialog.h"

// The yarn feeders, on their own key (4).
class YarnFeederDialog : public WorkParaDialog
{
    Q_OBJECT
public:
    explicit YarnFeederDialog(MachineData &machine, QWidget *parent = nullptr, const char *name = "yarnfeederdialog");
};
