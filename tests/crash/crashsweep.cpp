#include "crashsweep.h"

#include "diskcheck.h"
#include "platform/panelpaths.h"
#include "savepaths.h"
#include "testroot.h"

#include "platform/crashpoint.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

namespace {

constexpr int kChildMs = 120000;

void print(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

CrashSweep::CrashSweep(const Options &options)
    : options_(options)
    , random_(options.seed)
{
    if (options_.paths.isEmpty())
        options_.paths = SavePaths::names();
}

int CrashSweep::run()
{
    QString why;
    if (!setUp(&why)) {
        print(QStringLiteral("crash sweep: cannot set up: ") + why);
        return 2;
    }
    const QStringList heads{QStringLiteral("steps"), QStringLiteral("random"), QStringLiteral("partial"),
                            QStringLiteral("mended at start"), QStringLiteral("leftovers"), QStringLiteral("failed starts")};
    const auto row = [&heads](const QString &first, const QStringList &cells) {
        QString line = first.leftJustified(12);
        for (int i = 0; i < cells.size(); ++i)
            line += cells[i].rightJustified(int(heads[i].size()) + 2);
        print(line);
    };
    row(QStringLiteral("save path"), heads);
    Tally all;
    for (const QString &path : options_.paths) {
        const Tally t = sweep(path);
        QStringList cells;
        for (int n : {t.steps, t.random, t.partial, t.mended, t.leftovers, t.failedStarts})
            cells.append(QString::number(n));
        row(path, cells);
        all.steps += t.steps;
        all.random += t.random;
        all.partial += t.partial;
        all.failedStarts += t.failedStarts;
        all.errors += t.errors;
    }
    print(QStringLiteral("kill points %1 (at each step %2, random %3), partial files %4, failed starts %5, errors %6")
              .arg(all.steps + all.random)
              .arg(all.steps)
              .arg(all.random)
              .arg(all.partial)
              .arg(all.failedStarts)
              .arg(all.errors));
    return all.partial + all.failedStarts + all.errors == 0 ? 0 : 1;
}

bool CrashSweep::setUp(QString *why)
{
    qputenv("KNIT_BUZZER", "off");
    // Quick replies from knitsim; a slow start shows a message, never a failed start.
    qputenv("KNIT_TIMEOUT_SCALE", "0.25");
    if (!dir_.isValid() || !sim_.start(why))
        return false;
    base_ = dir_.filePath(QStringLiteral("base"));
    // The job and the reference copies of the controller's blocks, as a panel in use has them.
    qputenv("KNIT_ROOT", QFile::encodeName(base_));
    PanelPaths::ensureLayout();
    if (!TestRoot::makeJobIn(PanelPaths::data(QStringLiteral("/wave")), QStringLiteral("J1"), 30, 64, 10)) {
        *why = QStringLiteral("knitjob failed");
        return false;
    }
    const QString paramDir = PanelPaths::data(QStringLiteral("/para"));
    if (!QDir().mkpath(paramDir) || !QDir().mkpath(PanelPaths::usbRoot())
        || !QFile::copy(sim_.file(QStringLiteral("file.sys")), paramDir + QStringLiteral("/checksystem.sys"))
        || !QFile::copy(sim_.file(QStringLiteral("config.cfg")), paramDir + QStringLiteral("/checkconfig.cfg"))
        || !sim_.command(QStringLiteral("set job J1"))) {
        *why = QStringLiteral("cannot lay out the panel's disk");
        return false;
    }
    return true;
}

CrashSweep::Tally CrashSweep::sweep(const QString &path)
{
    Tally tally;
    const QString old = freshCopy(base_, path + QStringLiteral("-old"));
    QByteArray out;
    const bool prepared = child(old, {QStringLiteral("prepare"), path}, 0, &out) == 0;
    const QString fresh = freshCopy(old, path + QStringLiteral("-new"));
    const bool saved = prepared && child(fresh, {QStringLiteral("save"), path, QStringLiteral("1")}, 0, &out) == 0;
    // The saves killed in a loop go back and forth: after the second the program kept as
    // knit.old, say, is the new one.
    const QString again = freshCopy(fresh, path + QStringLiteral("-again"));
    if (!saved || child(again, {QStringLiteral("save"), path, QStringLiteral("0")}, 0, &out) != 0) {
        print(path + QStringLiteral(": the save fails uncut: ") + QString::fromUtf8(out));
        ++tally.errors;
        return tally;
    }
    const DiskCheck check(old, {fresh});
    const DiskCheck looped(old, {fresh, again});
    // Every step in turn, until the save runs to its end before the step asked for.
    for (long long k = 1;; ++k) {
        const QString root = freshCopy(old, path + QStringLiteral("-cut"));
        const int code = child(root, {QStringLiteral("save"), path, QStringLiteral("1")}, k);
        if (code == 0)
            break;
        if (code != CrashPoint::kExitCode) {
            print(QStringLiteral("%1: step %2 ended with %3").arg(path).arg(k).arg(code));
            ++tally.errors;
            break;
        }
        ++tally.steps;
        judge(check, root, QStringLiteral("%1 step %2").arg(path).arg(k), &tally);
    }
    // Every save changes the disk: none cut off means its steps have no crash point (or the
    // programs' own, which does nothing, was linked in place of ours), and nothing was tried.
    if (tally.steps == 0) {
        print(path + QStringLiteral(": the save ran to its end at its first step"));
        ++tally.errors;
    }
    // kill -9 while saves of the two versions follow each other: the child tells how long one
    // takes, and the kill falls anywhere in the next few.
    for (int i = 0; i < options_.random; ++i) {
        const QString root = freshCopy(old, path + QStringLiteral("-kill"));
        QProcess loop;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KNIT_ROOT"), root);
        loop.setProcessEnvironment(env);
        loop.start(QCoreApplication::applicationFilePath(), {QStringLiteral("loop"), path});
        if (!loop.waitForStarted(kChildMs)) {
            ++tally.errors;
            continue;
        }
        while (!loop.canReadLine() && loop.waitForReadyRead(kChildMs)) {
        }
        const long long micros = loop.readLine().split(' ').value(1).trimmed().toLongLong();
        if (micros <= 0) {
            print(path + QStringLiteral(": the save loop did not start"));
            ++tally.errors;
            continue;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<long long>(0, 3 * micros)(random_)));
        ::kill(pid_t(loop.processId()), SIGKILL);
        loop.waitForFinished(kChildMs);
        ++tally.random;
        judge(looped, root, QStringLiteral("%1 kill %2").arg(path).arg(i + 1), &tally);
    }
    return tally;
}

void CrashSweep::judge(const DiskCheck &check, const QString &root, const QString &what, Tally *tally)
{
    const DiskCheck::Result cut = check.judge(root);
    QByteArray out;
    const int started = child(root, {QStringLiteral("start")}, 0, &out);
    if (started != 0) {
        ++tally->failedStarts;
        print(QStringLiteral("%1: the panel did not start (%2): %3").arg(what).arg(started).arg(QString::fromUtf8(out)));
    }
    const DiskCheck::Result after = check.judge(root);
    const QStringList partial = after.partial + after.torn + after.temporaries;
    const int mended = int(cut.partial.size() + cut.torn.size() + cut.temporaries.size()) - int(partial.size());
    tally->partial += int(partial.size());
    tally->mended += qMax(0, mended);
    tally->leftovers += int(after.leftovers.size());
    note(what, partial, QStringLiteral("partial after start-up"));
    if (!options_.verbose)
        return;
    note(what, cut.partial + cut.torn + cut.temporaries, QStringLiteral("cut off"));
    note(what, after.leftovers, QStringLiteral("left over"));
    for (const QByteArray &line : out.split('\n')) {
        if (line.startsWith("shown: "))
            print(what + QStringLiteral(": the panel showed ") + QString::fromUtf8(line.mid(7)));
    }
}

void CrashSweep::note(const QString &what, const QStringList &paths, const QString &kind)
{
    for (const QString &p : paths)
        print(QStringLiteral("%1: %2 %3").arg(what, kind, p));
}

int CrashSweep::child(const QString &root, const QStringList &args, long long crashAt, QByteArray *out)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KNIT_ROOT"), root);
    if (crashAt > 0)
        env.insert(QStringLiteral("KNIT_CRASH_AT"), QString::number(crashAt));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QCoreApplication::applicationFilePath(), args);
    if (!p.waitForFinished(kChildMs)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (out)
        *out = p.readAll();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QString CrashSweep::freshCopy(const QString &from, const QString &name)
{
    const QString to = dir_.filePath(name);
    QDir(to).removeRecursively();
    QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), from, to});
    return to;
}
