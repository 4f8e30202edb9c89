#pragma once

#include "paramgrid.h"

#include "data/blocksizes.h"
#include "data/paramblock.h"

// The carrier parking corrections by carriage speed: twenty speed bands, moving left and right,
// in two groups of ten rows; group 16, correction + 100, kept in the carrier speed table and saved to
// para/speed.mth after each change.
class CarrierSpeedCorrectionPage : public ParamGrid
{
    Q_OBJECT

public:
    static const ParamTable &paramTable();

    explicit CarrierSpeedCorrectionPage(MachineData &machine, QWidget *parent = nullptr, const char *name = "carrierspeedcorrectionpage");

public Q_SLOTS:
    void enterKey() override;

protected:
    void load() override;

private:
    ParamBlock<kCarrierSpeedSize> copy_;
};
