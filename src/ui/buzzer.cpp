#include "buzzer.h"

#include "platform/applicationparts.h"
#include "platform/buzzerdevice.h"
#include "platform/sleeper.h"

void initBuzzer()
{
    BuzzerDevice *device = ApplicationParts::find<BuzzerDevice>();
    if (device && device->open())
        buzzer(1000);
}

void buzzer(int ms)
{
    BuzzerDevice *device = ApplicationParts::find<BuzzerDevice>();
    if (!device || !device->isOpen())
        return;
    device->write16(1);
    Sleeper::sleepMs(ms);
    device->write16(0);
}
