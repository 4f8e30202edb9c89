#include "controllerstatus.h"

#include "link/statuschannel.h"
#include "link/statusprobe.h"

ControllerStatus::ControllerStatus(MachineData &data, QObject *parent)
    : QObject(parent)
    , channel_(new StatusChannel(data, this))
{
}

StatusReports *ControllerStatus::reports() const
{
    return channel_;
}

void ControllerStatus::start()
{
    if (probe_)
        return;
    channel_->open();
    probe_ = new StatusProbe(this);
    connect(probe_, &StatusProbe::answered, this, [this](unsigned int status) { Q_EMIT answeredOffline(status != 0); });
}
