#pragma once

#include "carriageaccelerationpage.h"
#include "pageframe.h"

// The frame of the carriage acceleration type page: its title and group box text around the page.
class CarriageAccelerationFrame : public PageFrame<CarriageAccelerationPage>
{
    Q_OBJECT
public:
    explicit CarriageAccelerationFrame(MachineData &machine, QWidget *parent = nullptr);
};
