#include "backoff.h"

#include <algorithm>

int Backoff::next()
{
    const int wait = nextMs_;
    nextMs_ = std::min(nextMs_ * 2, kMaxMs);
    return wait;
}

void Backoff::reset()
{
    nextMs_ = kFirstMs;
}
