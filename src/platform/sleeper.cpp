#include "sleeper.h"

#include <cerrno>
#include <ctime>

void Sleeper::sleepMs(int ms)
{
    if (ms <= 0)
        return;
    timespec req{ms / 1000, (ms % 1000) * 1000000L};
    timespec rem{};
    while (::nanosleep(&req, &rem) != 0 && errno == EINTR)
        req = rem;
}
