#pragma once

#include <QString>
#include <QVector>

// Keeps the gaps between ticks of a periodic timer, less the time spent in mandated waits,
// and sums them up: maximum, 99th percentile, the longest few. With each gap goes the CPU time
// the watched thread spent in it: a long gap with little of it was the scheduler's (or a
// blocking call's), one made of it was the thread's own work.
class StallRecorder
{
public:
    static const int kKeptLongest = 10;
    // Gaps are counted in 1 ms steps up to this; a longer one counts as this (and is kept as
    // it is among the longest).
    static const int kHistogramMs = 60000;

    StallRecorder();
    // intervalMs: from one tick to the next; waitedMs: of that, in mandated waits; cpuMs: the
    // thread's CPU time outside those waits.
    void add(qint64 intervalMs, qint64 waitedMs, qint64 cpuMs = 0, const QString &when = QString());

    qint64 ticks() const { return ticks_; }
    qint64 maxMs() const { return max_; }
    // The most CPU time the thread spent within one gap: the longest stall its own work made.
    qint64 busyMaxMs() const { return busyMax_; }
    // The smallest gap that at least p % of the ticks do not exceed (0 without ticks).
    qint64 percentileMs(double p) const;
    qint64 waitedMs() const { return waited_; }
    // "ticks N", "max MS", "p99 MS", "waited MS", "busy MS", then "gap MS cpu MS WHEN" for the
    // longest, longest first.
    QString text() const;

private:
    QVector<qint64> histogram_;
    struct Gap
    {
        qint64 ms;
        qint64 cpuMs;
        QString when;
    };
    QVector<Gap> longest_;
    qint64 ticks_ = 0;
    qint64 max_ = 0;
    qint64 busyMax_ = 0;
    qint64 waited_ = 0;
};
