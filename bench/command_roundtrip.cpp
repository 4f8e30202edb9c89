// Round trip of setParameter against knitsim, and the CPU a command burns while it waits out a
// time-out (it should sleep in poll(), so well under 1% of a core). Prints; never fails.
#include "portoffset.h"
#include "simprocess.h"

#include "link/commands.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 5;
constexpr int kCommands = 200;

double cpuMs()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qputenv("KNIT_CONTROLLER_HOST", "127.0.0.1");
    qunsetenv("KNIT_TIMEOUT_SCALE");
    PortOffset::useFree();
    // The trace would dominate the figures; it goes where nobody reads it, the figures to the
    // original standard output.
    std::FILE *out = ::fdopen(::dup(1), "w");
    if (!out || !std::freopen("/dev/null", "w", stdout))
        return 0;

    SimProcess sim;
    QString why;
    if (!sim.start(&why)) {
        std::fprintf(stderr, "bench_command_roundtrip: knitsim did not start: %s\n", qPrintable(why));
        return 0;
    }
    std::vector<double> medians;
    int failures = 0;
    for (int run = 0; run < kRuns; ++run) {
        std::vector<double> us;
        us.reserve(kCommands);
        for (int i = 0; i < kCommands; ++i) {
            QElapsedTimer t;
            t.start();
            failures += setParameter(0x22, 2, quint16(i), quint16(run)) == 1 ? 0 : 1;
            us.push_back(t.nsecsElapsed() / 1e3);
        }
        medians.push_back(median(us));
        std::fprintf(out, "run %d: median round trip %.1f us over %d commands\n", run + 1, medians.back(), kCommands);
    }
    std::fprintf(out, "setParameter round trip: median of run medians %.1f us (%d unanswered)\n",
                 median(medians), failures);

    sim.command(QStringLiteral("fault silent"));
    QElapsedTimer wall;
    const double cpuBefore = cpuMs();
    wall.start();
    const unsigned char r = setParameter(0x20, 2, 1, 0);
    const double elapsed = double(wall.elapsed());
    const double cpu = cpuMs() - cpuBefore;
    std::fprintf(out, "1 s time-out: result %d after %.0f ms wall, %.2f ms CPU (%.3f%% of a core)\n",
                 int(r), elapsed, cpu, elapsed > 0 ? 100.0 * cpu / elapsed : 0.0);
    sim.stop();
    std::fclose(out);
    return 0;
}
