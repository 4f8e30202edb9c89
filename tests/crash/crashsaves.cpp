// The crash sweep of every save (scripts/crash.sh) and the child modes it runs its cuts in.
// Faults caught: a save that leaves a mix of old and new bytes, a missing file or a log with a
// torn or damaged line when cut off at any step or killed at any moment; a temporary file that
// start-up does not remove; a disk left by a crash that the panel does not start from.
//
//   crashsaves sweep [--random N] [--seed S] [--verbose] [PATH...]
//   crashsaves prepare PATH | save PATH VERSION | loop PATH | start     (under KNIT_ROOT)
#include "crashsweep.h"
#include "modaldriver.h"
#include "savepaths.h"

#include "data/machinedata.h"
#include "mainwin/mainscreen.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

// Saves the two versions in turn until killed; first tells how long one save takes.
int loop(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    if (!SavePaths::save(path, 1))
        return 1;
    std::printf("ready %lld\n", qMax<qint64>(1, timer.nsecsElapsed() / 1000));
    std::fflush(stdout);
    for (int v = 0;; v ^= 1) {
        if (!SavePaths::save(path, v))
            return 1;
    }
}

// The panel's start-up on the root, every question and message answered with Escape; 0 once
// the main screen shows. Prints the texts the panel showed ("shown: TEXT").
int start()
{
    ModalDriver driver;
    MachineData machine;
    MainScreen w(machine);
    w.start();
    w.show();
    const bool shown = QTest::qWaitFor([&w] { return w.isVisible(); }, 30000);
    for (const QString &text : driver.texts)
        std::printf("shown: %s\n", qPrintable(text));
    return shown ? 0 : 1;
}

CrashSweep::Options sweepOptions(QStringList args)
{
    CrashSweep::Options o;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        if (a == QLatin1String("--random") && !args.isEmpty())
            o.random = args.takeFirst().toInt();
        else if (a == QLatin1String("--seed") && !args.isEmpty())
            o.seed = args.takeFirst().toUInt();
        else if (a == QLatin1String("--verbose"))
            o.verbose = true;
        else
            o.paths.append(a);
    }
    return o;
}

} // namespace

int main(int argc, char **argv)
{
    // The file pages' copy dialogs and the panel's start-up want a screen; none is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);
    const QString path = args.value(1);
    if (mode == QLatin1String("sweep"))
        return CrashSweep(sweepOptions(args.mid(1))).run();
    if (mode == QLatin1String("prepare"))
        return SavePaths::prepare(path) ? 0 : 1;
    if (mode == QLatin1String("save"))
        return SavePaths::save(path, args.value(2).toInt()) ? 0 : 1;
    if (mode == QLatin1String("loop"))
        return loop(path);
    if (mode == QLatin1String("start"))
        return start();
    std::fprintf(stderr, "usage: crashsaves sweep [--random N] [--seed S] [--verbose] [PATH...]\n"
                         "       crashsaves prepare PATH | save PATH VERSION | loop PATH | start\n");
    return 2;
}
