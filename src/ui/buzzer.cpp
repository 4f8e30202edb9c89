#include "buzzer.h"

#include "platform/buzzerdevice.h"
#include "platform/sleeper.h"

void buzzer_init()
{
    if (BuzzerDevice::open())
        buzzer(1000);
}

void buzzer(int ms)
{
    if (!BuzzerDevice::isOpen())
        return;
    BuzzerDevice::write16(1);
    Sleeper::sleepMs(ms);
    BuzzerDevice::write16(0);
}
