#include "sleeper.h"

#include "stallreport.h"

#include <QThread>

void Sleeper::sleepMs(int ms)
{
    if (ms <= 0)
        return;
    // A beep or a protocol's pause: the event loop is meant to wait here.
    const StallReport::Wait mandated;
    // Qt sleeps in nanosleep and resumes it after a signal until the time is up.
    QThread::msleep(static_cast<unsigned long>(ms));
}
