#pragma once

#include <QString>
#include <QVector>

// Keeps the gaps between ticks of a periodic timer, less the time spent in mandated waits,
// and sums them up: maximum, 99th percentile, the longest few. With each gap go the CPU time
// the watched thread ran in it and the time it stood ready for a processor: the rest of a gap
// the thread was blocked (a file's sync, a lock), its own doing too.
class StallRecorder
{
public:
    static const int kKeptLongest = 10;
    // Gaps are counted in 1 ms steps up to this; a longer one counts as this (and is kept as
    // it is among the longest).
    static const int kHistogramMs = 60000;

    StallRecorder();
    // intervalMs: from one tick to the next; waitedMs: of that, in mandated waits; cpuMs: the
    // thread's CPU time outside those waits; queuedMs: ready to run, the processor busy elsewhere.
    void add(qint64 intervalMs, qint64 waitedMs, qint64 cpuMs = 0, qint64 queuedMs = 0, const QString &when = QString());

    qint64 ticks() const { return ticks_; }
    qint64 maxMs() const { return max_; }
    // The most CPU time the thread spent within one gap: the longest stall its own work made.
    qint64 busyMaxMs() const { return busyMax_; }
    // The longest gap less the time the thread stood ready for a processor: what its own
    // running or blocking held the loop up, whatever else the machine ran meanwhile.
    qint64 ownMaxMs() const { return ownMax_; }
    // The smallest gap that at least p % of the ticks do not exceed (0 without ticks).
    qint64 percentileMs(double p) const;
    qint64 waitedMs() const { return waited_; }
    // "ticks N", "max MS", "p99 MS", "waited MS", "busy MS", "own MS", then "gap MS cpu MS queued MS WHEN"
    // for the longest, longest first.
    QString text() const;

private:
    QVector<qint64> histogram_;
    struct Gap
    {
        qint64 ms;
        qint64 cpuMs;
        qint64 queuedMs;
        QString when;
    };
    QVector<Gap> longest_;
    qint64 ticks_ = 0;
    qint64 max_ = 0;
    qint64 busyMax_ = 0;
    qint64 ownMax_ = 0;
    qint64 waited_ = 0;
};
