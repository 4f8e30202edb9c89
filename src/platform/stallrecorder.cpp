#include "stallrecorder.h"

#include <algorithm>
#include <cmath>

StallRecorder::StallRecorder()
    : histogram_(kHistogramMs + 1, 0)
{
}

void StallRecorder::add(qint64 intervalMs, qint64 waitedMs, qint64 cpuMs, qint64 queuedMs, const QString &when)
{
    const qint64 waited = std::clamp<qint64>(waitedMs, 0, std::max<qint64>(intervalMs, 0));
    const qint64 gap = std::max<qint64>(intervalMs, 0) - waited;
    // Two clocks read apart: the CPU time may come out a little over the gap it lies in.
    const qint64 cpu = std::clamp<qint64>(cpuMs, 0, gap);
    const qint64 queued = std::clamp<qint64>(queuedMs, 0, gap - cpu);
    ++ticks_;
    waited_ += waited;
    max_ = std::max(max_, gap);
    busyMax_ = std::max(busyMax_, cpu);
    ownMax_ = std::max(ownMax_, gap - queued);
    ++histogram_[int(std::min<qint64>(gap, kHistogramMs))];
    if (longest_.size() < kKeptLongest || gap > longest_.constLast().ms) {
        const auto at = std::find_if(longest_.begin(), longest_.end(), [gap](const Gap &g) { return g.ms < gap; });
        longest_.insert(at, Gap{gap, cpu, queued, when});
        if (longest_.size() > kKeptLongest)
            longest_.removeLast();
    }
}

qint64 StallRecorder::percentileMs(double p) const
{
    if (ticks_ == 0)
        return 0;
    const auto needed = qint64(std::ceil(double(ticks_) * std::clamp(p, 0.0, 100.0) / 100.0));
    qint64 seen = 0;
    for (int ms = 0; ms <= kHistogramMs; ++ms) {
        seen += histogram_[ms];
        if (seen >= needed && seen > 0)
            return ms;
    }
    return kHistogramMs;
}

QString StallRecorder::text() const
{
    QString out = QStringLiteral("ticks %1\nmax %2\np99 %3\nwaited %4\nbusy %5\nown %6\n")
                      .arg(ticks_)
                      .arg(max_)
                      .arg(percentileMs(99))
                      .arg(waited_)
                      .arg(busyMax_)
                      .arg(ownMax_);
    for (const Gap &g : longest_)
        out += QStringLiteral("gap %1 cpu %2 queued %3 %4\n").arg(g.ms).arg(g.cpuMs).arg(g.queuedMs).arg(g.when);
    return out;
}
