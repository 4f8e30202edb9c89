#include "saveleftovers.h"

#include "platform/atomicfile.h"
#include "platform/logwriter.h"
#include "platform/panelpaths.h"
#include "platform/programinstaller.h"

#include <QDir>

void SaveLeftovers::clear()
{
    const QString jobs = PanelPaths::data(QStringLiteral("/wave"));
    QStringList folders{PanelPaths::dataRoot(), PanelPaths::data(QStringLiteral("/para")),
                        PanelPaths::data(QStringLiteral("/log")), jobs};
    for (const QString &job : QDir(jobs).entryList(QDir::Dirs | QDir::NoSymLinks | QDir::NoDotAndDotDot | QDir::Hidden))
        folders.append(jobs + QLatin1Char('/') + job);
    for (const QString &folder : folders)
        AtomicFile::removeTemporaries(folder);
    ProgramInstaller::removeLeftovers(PanelPaths::data(QStringLiteral("/knit")));
    const QDir logs(PanelPaths::data(QStringLiteral("/log")));
    for (const QString &log : logs.entryList({QStringLiteral("*.log")}, QDir::Files))
        LogWriter::repair(logs.filePath(log));
}
