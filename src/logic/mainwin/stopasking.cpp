#include "stopasking.h"

#include <algorithm>

void StopAsking::stopped(const QDateTime &since, qint64 monotonicMs)
{
    if (standing_)
        return;
    standing_ = true;
    asked_ = false;
    since_ = since;
    sinceMs_ = monotonicMs;
    given_.reset();
}

void StopAsking::knitting()
{
    standing_ = false;
    given_.reset();
}

std::optional<qint64> StopAsking::askIn(qint64 nowMs, int askAfterS) const
{
    if (!standing_ || asked_ || askAfterS <= 0)
        return std::nullopt;
    return std::max<qint64>(0, sinceMs_ + qint64(askAfterS) * 1000 - nowMs);
}

bool StopAsking::pick(int code, const ReasonList &list, Pick *out)
{
    const ReasonList::Reason *reason = list.find(code);
    if (!standing_ || !reason)
        return false;
    asked_ = true;
    given_ = Pick{since_, *reason};
    *out = *given_;
    return true;
}
