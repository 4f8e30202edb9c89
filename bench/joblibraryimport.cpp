#include "joblibraryimport.h"

#include "dashboardload.h"

#include "dashboard/dbtarget.h"
#include "dashboard/fleetdb.h"
#include "data/machinedata.h"
#include "data/defaultblocks.h"
#include "logic/files/jobfolders.h"
#include "logic/files/libraryfetch.h"
#include "logic/files/libraryjobimport.h"
#include "logic/files/stickjobimport.h"
#include "platform/fsops.h"
#include "platform/panelpaths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace JobLibraryBench {

namespace {

const char kMachine[] = "BENCH-1";
// Imports a side; the library's token may make 60 requests a minute, three a fetch.
constexpr int kRuns = 9;

// The version released as a second supervisor's approval would release it.
bool release(const Setup &s, const QString &name)
{
    DbTarget target;
    QString why;
    DbTarget::parse(s.db, &target, &why);
    FleetDb db(target);
    if (!db.open(&why))
        return false;
    QSqlQuery q(db.db());
    q.prepare(QStringLiteral("UPDATE library_versions SET approved_by = 'bert', approved_t = uploaded_t WHERE name = ?"));
    q.addBindValue(name);
    return q.exec() && q.numRowsAffected() == 1;
}

// The panel's root: the machine's token from knitfleet machine add in its library.ini.
bool enrol(const Setup &s)
{
    QProcess add;
    startOwnProgram(add, QStringLiteral(KNITFLEET_PATH), {"machine", "add", kMachine, "--db", s.db});
    if (!add.waitForFinished(30000) || add.exitCode() != 0)
        return false;
    const QByteArray token = add.readAllStandardOutput().trimmed();
    QFile ini(PanelPaths::data(QStringLiteral("/library.ini")));
    // A new job starts from the default work parameters the panel writes at start-up.
    MachineData machine;
    return !token.isEmpty() && QDir().mkpath(JobFolders::root()) && QDir().mkpath(PanelPaths::tmpDir()) && initWorkParams(machine) == 1
        && ini.open(QIODevice::WriteOnly)
        && ini.write("[library]\nurl = " + s.fleet.url().chopped(1).toUtf8() + "\nmachine = " + kMachine + "\ntoken = " + token + '\n') > 0;
}

// The browser's hooks without its dialogs: every question answered yes (the job is there
// already), each copy a whole-file save.
StickJobImport::Hooks hooks(QString *told)
{
    return {[](const QString &) { return true; }, [told](const QString &text) { *told = text; },
            [](const QByteArray &from, const QString &to) { return FsOps::copyFile(QFile::decodeName(from), to); }};
}

} // namespace

void panelImport(Setup &s)
{
    const QByteArray name = "OFFER";
    const QString folder = makeJob(s, name, {"--width", "1024", "--height", "1792", "--rows", "1024"});
    qputenv("KNIT_ROOT", QFile::encodeName(s.dir.filePath(QStringLiteral("panel"))));
    if (folder.isEmpty() || upload(s, folder, name) != 201 || !release(s, QString::fromLatin1(name)) || !enrol(s)) {
        std::printf("the panel's import left out: the job was not released to a machine\n");
        return;
    }
    qint64 bytes = 0;
    for (const char *ext : {".cnt", ".pat", ".wrk"})
        bytes += QFileInfo(folder + QLatin1Char('/') + QLatin1String(name) + QLatin1String(ext)).size();
    LibraryFetch fetch;
    QList<LibraryListing::Job> jobs;
    QString told;
    const bool listed = fetch.list(&jobs, &told);
    const auto offered = std::find_if(jobs.cbegin(), jobs.cend(), [&](const LibraryListing::Job &j) { return j.name == QLatin1String(name); });
    if (!listed || offered == jobs.cend()) {
        std::printf("the panel's import left out: the library did not list %s: %s\n", name.constData(), qPrintable(told));
        return;
    }
    const QString root = JobFolders::root();
    const auto fromLibrary = [&] { return LibraryJobImport(root, hooks(&told), &fetch).run(*offered); };
    const auto fromStick = [&] {
        StickJobImport steps(root, hooks(&told));
        steps.importWork = true;
        const QString imported = steps.run(QFile::encodeName(folder), name + ".cnt");
        if (!imported.isEmpty())
            LibraryJobImport::stickImported(root, imported);
        return imported;
    };
    // Once each untimed, so every timed run replaces a job as an operator's usually does.
    std::vector<double> library, stick;
    for (int i = -1; i < kRuns; ++i) {
        for (const bool fromOffice : {true, false}) {
            QElapsedTimer clock;
            clock.start();
            const QString imported = fromOffice ? fromLibrary() : fromStick();
            const double ms = double(clock.nsecsElapsed()) / 1e6;
            if (imported != QLatin1String(name)) {
                std::printf("the panel's import left out: the %s import failed: %s\n", fromOffice ? "library" : "stick", qPrintable(told));
                return;
            }
            if (i >= 0)
                (fromOffice ? library : stick).push_back(ms);
        }
    }
    const double l = DashboardBench::quantile(library, 0.5), st = DashboardBench::quantile(stick, 0.5);
    std::printf("the panel's import of a %.2f MiB job, Enter → the job in place (target ≤ 1.5 × the stick's):\n"
                "  library (fetch + digests + checks) %.0f ms, stick %.0f ms, ratio %.2f (median of %d, interleaved)\n",
                double(bytes) / 1048576, l, st, l / qMax(0.001, st), kRuns);
}

} // namespace JobLibraryBench
