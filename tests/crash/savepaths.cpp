#include "savepaths.h"
#include "testbytes.h"
#include "testroot.h"

#include "data/configrecord.h"
#include "data/densitybackup.h"
#include "data/historylog.h"
#include "data/machinedata.h"
#include "data/carrierspeedtable.h"
#include "data/panelfiles.h"
#include "data/workfile.h"
#include "logic/editors/cntstore.h"
#include "logic/editors/patstore.h"
#include "logic/files/jobfolders.h"
#include "logic/files/stickexport.h"
#include "logic/files/stickjobimport.h"
#include "logic/history/machinehistory.h"
#include "logic/service/systembackup.h"
#include "platform/atomicfile.h"
#include "platform/logwriter.h"
#include "platform/panelpaths.h"
#include "platform/programinstaller.h"
#include "platform/systemactions.h"
#include "ui/fileoperatedialog.h"
#include "ui/transferdialog.h"

#include <QDir>
#include <QFile>

#include <functional>
#include <map>

namespace {

// A log this close to the writer's bound turns over within one save, so the turn is cut too.
constexpr qint64 kLogFill = LogWriter::kDefaultBound - 64;

QString stick(const QString &name)
{
    return PanelPaths::usbRoot() + QLatin1Char('/') + name;
}

QString jobFile(const char *ext)
{
    return PanelPaths::data(QStringLiteral("/wave/J1/J1") + QLatin1String(ext));
}

// The two versions of a file the panel copies in: the same bytes, a last one apart.
bool writeVersions(const QString &pattern, const QByteArray &bytes)
{
    for (int v = 0; v < 2; ++v) {
        if (!TestBytes::writeFile(pattern.arg(v), bytes + char('0' + v)))
            return false;
    }
    return true;
}

// The editors' link of a file that is not the current job's: nothing goes out.
EditorLink offline()
{
    return {[](int, bool) { return true; }, [](unsigned short, unsigned short, unsigned char) { return true; },
            [] { return 0u; }};
}

// The copy the panel's file pages make: the progress dialog, then one whole save.
bool copy(const QByteArray &from, const QByteArray &to)
{
    return FileOperateDialog::copyNative(from, to, nullptr);
}

bool copyIn(const QString &from, const QString &to)
{
    return copy(QFile::encodeName(from), QFile::encodeName(to));
}

// The operator's side of an export or an import: every question answered yes.
bool yes(const QString &)
{
    return true;
}

void told(const QString &)
{
}

void loadSystem(MachineData &machine)
{
    machine.system().fill(TestBytes::readFile(SystemBackup::checkCopy()));
}

bool saveWork(int v)
{
    QByteArray block;
    if (!WorkFile::read(jobFile(".wrk"), &block))
        return false;
    MachineData machine;
    machine.work().fill(block);
    machine.work().setWord(10, quint16(100 + v));
    return WorkFile::save(machine, jobFile(".wrk"));
}

bool saveProgram(int v)
{
    CntStore store(offline());
    if (store.load(jobFile(".cnt"), false) != CntStore::Loaded)
        return false;
    store.setRow(1);
    const int kSpeedGroup = 8, kSpeedIndex = 2;
    return store.enter(kSpeedGroup, kSpeedIndex, QString::number(3 + v)).isEmpty() && store.save();
}

bool savePattern(int v)
{
    PatStore store(offline());
    return store.load(jobFile(".pat")) && store.enter(0, 0, quint8(0x12 + v), false).isEmpty() && store.save();
}

// The parameter files and the check copies, as the pages that own them save them.
bool saveParameters(int v)
{
    MachineData machine;
    loadSystem(machine);
    machine.system().setWord(DensityBackup::kSystemWord, quint16(500 + v));
    DensityBackup density;
    density.read();
    density.store(0, machine.system().block());
    ConfigRecord config;
    config.read(ConfigRecord::checkPath());
    config.setWord(5, quint16(v));
    machine.panelSettings().setByte(0, quint8(v));
    machine.carrierSpeedTable().setWord(CarrierSpeedTable::kRightWord, quint16(CarrierSpeedTable::kBias + v));
    return density.write() && config.saveCheck() && writePanelSettings(machine) && CarrierSpeedTable::save(machine)
        && saveWholeFile(SystemBackup::checkCopy(), machine.system().data(), qint64(kSystemSize)) == 1;
}

bool backUp(int v)
{
    MachineData machine;
    loadSystem(machine);
    machine.system().setWord(7, quint16(v));
    return SystemBackup::download(machine, SystemBackup::diskBackup()) == SystemBackup::Done;
}

bool restore(int v)
{
    MachineData machine;
    return SystemBackup::updateFromFile(machine, stick(QStringLiteral("system-%1.sys").arg(v)), TransferDialog::withController())
        == SystemBackup::Done;
}

bool exportFiles(int v)
{
    StickExport exporter({yes, told, [](const QString &from, const QByteArray &to) { return copy(QFile::encodeName(from), to); }});
    exporter.asFiles = true;
    QDir().mkpath(stick(QStringLiteral("export")));
    return exporter.run(PanelPaths::tmp(QStringLiteral("/export-%1").arg(v)), QFile::encodeName(stick(QStringLiteral("export"))));
}

// Two versions of the job on the stick, made as a designer's program would make them.
bool stickJobs()
{
    return TestRoot::makeJobIn(stick(QStringLiteral("import-0")), QStringLiteral("J1"), 30, 64, 10)
        && TestRoot::makeJobIn(stick(QStringLiteral("import-1")), QStringLiteral("J1"), 31, 64, 10);
}

bool importJob(int v)
{
    StickJobImport import(JobFolders::root(),
                          {yes, told, [](const QByteArray &from, const QString &to) { return copy(from, QFile::encodeName(to)); }});
    return !import.run(QFile::encodeName(stick(QStringLiteral("import-%1/J1").arg(v))), "J1.cnt").isEmpty();
}

bool update(int v)
{
    const QString source = stick(QStringLiteral("knit-%1").arg(v));
    const QString target = PanelPaths::data(QStringLiteral("/knit"));
    const QString staged = ProgramInstaller::stagedPath(target);
    return copyIn(source, staged)
        && ProgramInstaller::install(QFile::encodeName(source), staged, target) == ProgramInstaller::Installed;
}

bool logAlarms(int v)
{
    MachineHistory history;
    const MachineHistory::Screen screen{QStringLiteral("J1"), QStringLiteral("12"), 3, 10};
    history.alarmRaised(1, 20 + v, QStringLiteral("左机头撞针 !"), screen);
    history.alarmAcknowledged(screen);
    history.alarmCleared(screen);
    history.flush();
    return true;
}

bool logProduction(int v)
{
    MachineHistory history;
    MachineHistory::Screen screen{QStringLiteral("J1"), QStringLiteral("12"), 3 + v, 10};
    history.machineRan(true, screen);
    history.piecesReported(screen);
    ++screen.pieces;
    history.piecesReported(screen);
    history.machineRan(false, screen);
    history.flush();
    return true;
}

// A log filled with whole lines up to kLogFill.
bool fillLog(const QString &path, const QByteArray &line)
{
    QByteArray text;
    while (text.size() + line.size() < kLogFill)
        text += line + '\n';
    return TestBytes::writeFile(path, text);
}

struct Path
{
    std::function<bool()> prepare; // the sources, or a log's old lines
    std::function<bool(int)> save;
    bool appends = false; // a log: its old lines are prepare's, and every save adds lines
};

const std::map<QString, Path> &paths()
{
    const auto nothing = [] { return true; };
    static const std::map<QString, Path> table{
        {QStringLiteral("wrk"), {nothing, saveWork}},
        {QStringLiteral("cnt"), {nothing, saveProgram}},
        {QStringLiteral("pat"), {nothing, savePattern}},
        {QStringLiteral("para"), {nothing, saveParameters}},
        {QStringLiteral("config"),
         {[] { return writeVersions(stick(QStringLiteral("Config-%1.ini")), "[color]\nbackground=10,20,3"); },
          [](int v) { return copyIn(stick(QStringLiteral("Config-%1.ini").arg(v)), PanelPaths::data(QStringLiteral("/Config.ini"))); }}},
        {QStringLiteral("backup"), {nothing, backUp}},
        {QStringLiteral("restore"),
         {[] { return writeVersions(stick(QStringLiteral("system-%1.sys")), TestBytes::readFile(SystemBackup::checkCopy()).chopped(1)); },
          restore}},
        {QStringLiteral("export"),
         {[] {
              for (const char *ext : {".cnt", ".pat", ".wrk"}) {
                  if (!writeVersions(PanelPaths::tmp(QStringLiteral("/export-%1/J1")) + QLatin1String(ext), TestBytes::readFile(jobFile(ext))))
                      return false;
              }
              return true;
          },
          exportFiles}},
        {QStringLiteral("import"), {stickJobs, importJob}},
        {QStringLiteral("update"), {[] { return writeVersions(stick(QStringLiteral("knit-%1")), TestBytes::readFile(QStringLiteral(KNITJOB_PATH))); }, update}},
        {QStringLiteral("alarms"),
         {[] {
              return fillLog(MachineHistory::alarmLogPath(),
                             HistoryLog::alarmLine(SystemActions::now(), QStringLiteral("raised"), 1, 5, QStringLiteral("断纱"),
                                                   QStringLiteral("J1"), QStringLiteral("1"), 0));
          },
          logAlarms, true}},
        {QStringLiteral("production"),
         {[] {
              return fillLog(MachineHistory::productionLogPath(),
                             HistoryLog::pieceLine(SystemActions::now(), QStringLiteral("J1"), 1, 10));
          },
          logProduction, true}},
    };
    return table;
}

} // namespace

QStringList SavePaths::names()
{
    QStringList out;
    for (const auto &p : paths())
        out.append(p.first);
    return out;
}

bool SavePaths::prepare(const QString &name)
{
    const auto p = paths().find(name);
    return p != paths().end() && p->second.prepare() && (p->second.appends || p->second.save(0));
}

bool SavePaths::save(const QString &name, int version)
{
    const auto p = paths().find(name);
    return p != paths().end() && p->second.save(version);
}
