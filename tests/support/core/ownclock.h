#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>

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
        queuedAtStartNs_ = queuedNs();
    }
    qint64 elapsedMs() const { return (wall_.nsecsElapsed() - (queuedNs() - queuedAtStartNs_)) / 1000000; }

private:
    static qint64 queuedNs()
    {
        QFile stat(QStringLiteral("/proc/thread-self/schedstat"));
        return stat.open(QIODevice::ReadOnly) ? stat.readAll().split(' ').value(1).trimmed().toLongLong() : 0;
    }

    QElapsedTimer wall_;
    qint64 queuedAtStartNs_ = 0;
};
