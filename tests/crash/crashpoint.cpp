// The crash tests' crash point, linked in place of the programs' (which does nothing): ends the
// process at the k-th file-system step that changes the disk when KNIT_CRASH_AT=k is set.
#include "platform/crashpoint.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

long long configuredStep()
{
    const char *value = std::getenv("KNIT_CRASH_AT");
    if (!value || !*value)
        return 0;
    char *end = nullptr;
    const long long k = std::strtoll(value, &end, 10);
    return *end == '\0' && k > 0 ? k : 0;
}

// Process-wide: every thread that changes the disk counts towards the one k.
std::atomic<long long> stepsTaken{0};

void tell(const char *text)
{
    if (::write(STDERR_FILENO, text, std::strlen(text)) < 0)
        return;
}

} // namespace

void CrashPoint::step(const char *what)
{
    static const long long at = configuredStep();
    if (at == 0 || stepsTaken.fetch_add(1) + 1 != at)
        return;
    // Unbuffered, and nothing flushed on the way out: the process ends as a crash ends it.
    tell("crash point: ");
    tell(what);
    tell("\n");
    ::_exit(kExitCode);
}
