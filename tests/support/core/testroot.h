#pragma once

#include "ownprogram.h"
#include "platform/atomicfile.h"
#include "platform/panelpaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

// A fresh panel root for one test: a temporary directory set as KNIT_ROOT, with the layout
// the panel expects. The environment is restored when it goes.
class TestRoot
{
public:
    TestRoot() : oldRoot_(qgetenv("KNIT_ROOT")), hadRoot_(qEnvironmentVariableIsSet("KNIT_ROOT"))
    {
        qputenv("KNIT_ROOT", QFile::encodeName(dir_.path()));
        PanelPaths::ensureLayout();
    }
    ~TestRoot()
    {
        if (hadRoot_)
            qputenv("KNIT_ROOT", oldRoot_);
        else
            qunsetenv("KNIT_ROOT");
    }
    QString path() const { return dir_.path(); }
    QString file(const QString &relative) const { return dir_.path() + relative; }

    // A sample job made by knitjob in the data root's job folder, or in dir; false when knitjob
    // failed.
    bool makeJob(const QString &name, int rows, int width, int height) const { return makeJobIn(file("/mnt/ide/knit/wave"), name, rows, width, height); }
    static bool makeJobIn(const QString &dir, const QString &name, int rows, int width, int height)
    {
        QProcess p;
        startOwnProgram(p, QStringLiteral(KNITJOB_PATH), {"make", name, "--dir", dir, "--rows", QString::number(rows),
                                               "--width", QString::number(width), "--height", QString::number(height)});
        return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    // The panel's reference copies of the system and personalisation blocks, taken from the
    // given files (a controller's file.sys and config.cfg), so start-up finds them equal.
    bool writeReferences(const QString &fileSys, const QString &configCfg) const
    {
        auto copy = [](const QString &from, const QString &to) {
            QFile in(from);
            return in.open(QIODevice::ReadOnly) && AtomicFile::save(to, in.readAll());
        };
        const QString paramDir = file("/mnt/ide/knit/para");
        return QDir().mkpath(paramDir) && copy(fileSys, paramDir + "/checksystem.sys") && copy(configCfg, paramDir + "/checkconfig.cfg");
    }

private:
    QTemporaryDir dir_;
    QByteArray oldRoot_;
    bool hadRoot_;
};
