#include "beeppulse.h"

#include "platform/buzzerdevice.h"

BeepPulse &BeepPulse::instance()
{
    static BeepPulse pulse;
    return pulse;
}

BeepPulse::BeepPulse()
{
    off_.setSingleShot(true);
    connect(&off_, &QTimer::timeout, this, &BeepPulse::stop);
}

void BeepPulse::start(int ms)
{
    if (!BuzzerDevice::isOpen() || ms <= 0)
        return;
    if (!off_.isActive())
        BuzzerDevice::write16(1);
    if (!off_.isActive() || off_.remainingTime() < ms)
        off_.start(ms);
}

void BeepPulse::stop()
{
    BuzzerDevice::write16(0);
}
