#include "controllerpresence.h"

#include "platform/applicationparts.h"

ControllerPresence *ControllerPresence::find()
{
    return ApplicationParts::find<ControllerPresence>();
}

void ControllerPresence::commandEnded(bool answered)
{
    setOffline(!answered);
}

void ControllerPresence::reportArrived()
{
    setOffline(false);
}

void ControllerPresence::holdPort(bool held)
{
    holds_ += held ? 1 : -1;
    if (holds_ < 0)
        holds_ = 0;
}

void ControllerPresence::commandStarting()
{
    Q_EMIT portWanted();
}

void ControllerPresence::setOffline(bool offline)
{
    if (offline == offline_)
        return;
    offline_ = offline;
    Q_EMIT offlineChanged(offline);
}
