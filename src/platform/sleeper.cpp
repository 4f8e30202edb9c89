#include "sleeper.h"

#include "servicenotify.h"
#include "stallreport.h"

#include <QThread>

void Sleeper::sleepMs(int ms)
{
    if (ms <= 0)
        return;
    // A beep or a protocol's pause: the event loop is meant to wait here.
    const StallReport::Wait mandated;
    // Qt sleeps in nanosleep and resumes it after a signal until the time is up; a long pause
    // in slices, each followed by a watchdog ping.
    for (int left = ms; left > 0;) {
        const int part = ServiceNotify::slice(left);
        QThread::msleep(static_cast<unsigned long>(part));
        ServiceNotify::ping();
        left -= part;
    }
}
