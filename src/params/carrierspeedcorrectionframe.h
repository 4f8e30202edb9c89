#pragma once

#include "carrierspeedcorrectionpage.h"
#include "pageframe.h"

// The frame of the carrier parking and carriage speed table page: its title and group box text around the page.
class CarrierSpeedCorrectionFrame : public PageFrame<CarrierSpeedCorrectionPage>
{
    Q_OBJECT
public:
    explicit CarrierSpeedCorrectionFrame(MachineData &machine, QWidget *parent = nullptr);
};
