#include "testroot.h"

#include "platform/atomicfile.h"
#include "platform/panelpaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>

TestRoot::TestRoot()
    : oldRoot_(qgetenv("KNIT_ROOT")), hadRoot_(qEnvironmentVariableIsSet("KNIT_ROOT"))
{
    qputenv("KNIT_ROOT", QFile::encodeName(dir_.path()));
    PanelPaths::ensureLayout();
}

TestRoot::~TestRoot()
{
    if (hadRoot_)
        qputenv("KNIT_ROOT", oldRoot_);
    else
        qunsetenv("KNIT_ROOT");
}

QString TestRoot::path() const
{
    return dir_.path();
}

QString TestRoot::file(const QString &relative) const
{
    return dir_.path() + relative;
}

bool TestRoot::makeJob(const QString &name, int rows, int width, int height) const
{
    QProcess p;
    p.start(QStringLiteral(KNITJOB_PATH),
            {QStringLiteral("make"), name, QStringLiteral("--dir"), file(QStringLiteral("/mnt/ide/knit/wave")),
             QStringLiteral("--rows"), QString::number(rows), QStringLiteral("--width"), QString::number(width),
             QStringLiteral("--height"), QString::number(height)});
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool TestRoot::writeReferences(const QString &fileSys, const QString &configCfg) const
{
    auto copy = [](const QString &from, const QString &to) {
        QFile in(from);
        return in.open(QIODevice::ReadOnly) && AtomicFile::save(to, in.readAll());
    };
    const QString para = file(QStringLiteral("/mnt/ide/knit/para"));
    return QDir().mkpath(para) && copy(fileSys, para + QStringLiteral("/checksystem.sys"))
        && copy(configCfg, para + QStringLiteral("/checkconfig.cfg"));
}
