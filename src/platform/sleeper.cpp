#include "sleeper.h"

#include <QThread>

void Sleeper::sleepMs(int ms)
{
    // Qt sleeps in nanosleep and resumes it after a signal until the time is up.
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}
