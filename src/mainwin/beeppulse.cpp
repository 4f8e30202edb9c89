#include "beeppulse.h"

#include "platform/applicationparts.h"
#include "platform/buzzerdevice.h"

BeepPulse::BeepPulse(QObject *parent)
    : QObject(parent)
{
    off_.setSingleShot(true);
    connect(&off_, &QTimer::timeout, this, &BeepPulse::stop);
}

void BeepPulse::start(int ms)
{
    BuzzerDevice *device = ApplicationParts::find<BuzzerDevice>();
    if (!device || !device->isOpen() || ms <= 0)
        return;
    if (!off_.isActive())
        device->write16(1);
    if (!off_.isActive() || off_.remainingTime() < ms)
        off_.start(ms);
}

void BeepPulse::stop()
{
    if (BuzzerDevice *device = ApplicationParts::find<BuzzerDevice>())
        device->write16(0);
}
