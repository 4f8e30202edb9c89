#pragma once

#include "paramframe.h"

#include "carriageaccelerationpage.h"
#include "carrierspeedcorrectionpage.h"
#include "densitycorrectionpage.h"
#include "densityidlepage.h"
#include "frequentsettingspage.h"
#include "personalisationpage.h"
#include "rackingcorrectionpage.h"
#include "runningparampage.h"
#include "systemparampage.h"

// The frames of the system, running and calibration pages: each only a title, a group box
// text and its page, so they share one pair of files.

class SystemParamFrame : public PageFrame<SystemParamPage>
{
    Q_OBJECT
public:
    explicit SystemParamFrame(MachineData &machine, QWidget *parent = nullptr);
};

class RunningParamFrame : public PageFrame<RunningParamPage>
{
    Q_OBJECT
public:
    explicit RunningParamFrame(MachineData &machine, QWidget *parent = nullptr);
};

class FrequentSettingsFrame : public PageFrame<FrequentSettingsPage>
{
    Q_OBJECT
public:
    explicit FrequentSettingsFrame(MachineData &machine, QWidget *parent = nullptr);
};

class RackingCorrectionFrame : public PageFrame<RackingCorrectionPage>
{
    Q_OBJECT
public:
    explicit RackingCorrectionFrame(MachineData &machine, QWidget *parent = nullptr);
};

class DensityCorrectionFrame : public PageFrame<DensityCorrectionPage>
{
    Q_OBJECT
public:
    explicit DensityCorrectionFrame(MachineData &machine, QWidget *parent = nullptr);
};

class DensityIdleFrame : public PageFrame<DensityIdlePage>
{
    Q_OBJECT
public:
    explicit DensityIdleFrame(MachineData &machine, QWidget *parent = nullptr);
};

class CarriageAccelerationFrame : public PageFrame<CarriageAccelerationPage>
{
    Q_OBJECT
public:
    explicit CarriageAccelerationFrame(MachineData &machine, QWidget *parent = nullptr);
};

class PersonalisationFrame : public PageFrame<PersonalisationPage>
{
    Q_OBJECT
public:
    explicit PersonalisationFrame(MachineData &machine, QWidget *parent = nullptr);
};

class CarrierSpeedCorrectionFrame : public PageFrame<CarrierSpeedCorrectionPage>
{
    Q_OBJECT
public:
    explicit CarrierSpeedCorrectionFrame(MachineData &machine, QWidget *parent = nullptr);
};
