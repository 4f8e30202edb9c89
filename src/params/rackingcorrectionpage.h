#pragma once

#include "paramgrid.h"

class QLabel;

// The racking position table: three columns (aligned, crossed, transfer) of 17 positions,
// each a coarse value in the cell and a fine value beside it. Enter moves the racking to the
// position and opens its correction dialog; M gives the whole column the current cell's value.
class RackingCorrectionPage : public ParamGrid
{
    Q_OBJECT

public:
    static const ParamTable &paramTable();

    explicit RackingCorrectionPage(MachineData &machine, QWidget *parent = nullptr, const char *name = "rackingcorrectionpage");

    QLabel *fineLabel(int column, int row) const;
    void setCellValue(int column, int row, unsigned short value) override;

public Q_SLOTS:
    void enterKey() override { moveToPosition(); }
    // The key beep alone: the cell keeps what was typed.
    void clearKey() override {}
    void moveToPosition();
    void fillColumn();

private:
    QList<QLabel *> fine_;
};
