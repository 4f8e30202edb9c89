#include "heappolicy.h"

#include <QTimer>

#ifdef __GLIBC__
#include <malloc.h>
#endif

bool HeapPolicy::apply()
{
#ifdef __GLIBC__
    // glibc raises both thresholds to the largest block freed so far, by default: after the
    // first megabyte file, every later one comes from the heap and its top is never trimmed,
    // so the resident size climbs to the largest moment and stays. Set values end that.
    return mallopt(M_MMAP_THRESHOLD, kLargeBytes) == 1 && mallopt(M_TRIM_THRESHOLD, kLargeBytes) == 1;
#else
    return false;
#endif
}

void HeapPolicy::trimPeriodically(QObject *owner)
{
#ifdef __GLIBC__
    // A walk over the free lists of a heap of a few megabytes: well under a millisecond.
    auto *timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, [] { malloc_trim(0); });
    timer->start(kTrimMs);
#else
    (void)owner;
#endif
}

void HeapPolicy::trimSoon()
{
#ifdef __GLIBC__
    QTimer::singleShot(0, [] { malloc_trim(0); });
#endif
}
