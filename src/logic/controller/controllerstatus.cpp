#include "controllerstatus.h"

#include "link/statuschannel.h"
#include "link/statusprobe.h"

ControllerStatus::ControllerStatus(MachineData &data, QObject *parent)
    : QObject(parent)
    , channel_(new StatusChannel(data, this))
{
    StatusChannel *c = channel_;
    connect(c, &StatusChannel::zeroingStarted, this, &ControllerStatus::zeroingStarted);
    connect(c, &StatusChannel::machineStarted, this, &ControllerStatus::machineStarted);
    connect(c, &StatusChannel::machineStopped, this, &ControllerStatus::machineStopped);
    connect(c, &StatusChannel::rowReport, this, &ControllerStatus::rowReport);
    connect(c, &StatusChannel::alarmRaised, this, &ControllerStatus::alarmRaised);
    connect(c, &StatusChannel::alarmCleared, this, &ControllerStatus::alarmCleared);
    connect(c, &StatusChannel::zeroingFinished, this, &ControllerStatus::zeroingFinished);
    connect(c, &StatusChannel::knittingTime, this, &ControllerStatus::knittingTime);
    connect(c, &StatusChannel::stopTime, this, &ControllerStatus::stopTime);
    connect(c, &StatusChannel::loopRows, this, &ControllerStatus::loopRows);
    connect(c, &StatusChannel::loopCounts, this, &ControllerStatus::loopCounts);
    connect(c, &StatusChannel::needleMoved, this, &ControllerStatus::needleMoved);
    connect(c, &StatusChannel::drained, this, &ControllerStatus::drained);
}

void ControllerStatus::start()
{
    if (probe_)
        return;
    channel_->open();
    probe_ = new StatusProbe(this);
    connect(probe_, &StatusProbe::answered, this, [this](unsigned int status) { Q_EMIT answeredOffline(status != 0); });
}
