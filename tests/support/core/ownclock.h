#pragma once

#include "platform/stallreport.h"

#include <QElapsedTimer>

// Time the calling thread took, running or blocked, less the time it stood ready while the
// processor ran others: an upper bound on it holds on a loaded machine as on a quiet one.
// Where the kernel keeps no such figure the wall time is taken whole.
class OwnClock
{
public:
    OwnClock() { start(); }
    void start()
    {
        wall_.start();
        queuedAtStartNs_ = StallReport::readyNs();
    }
    qint64 elapsedMs() const { return (wall_.nsecsElapsed() - (StallReport::readyNs() - queuedAtStartNs_)) / 1000000; }

private:
    QElapsedTimer wall_;
    qint64 queuedAtStartNs_ = 0;
};
