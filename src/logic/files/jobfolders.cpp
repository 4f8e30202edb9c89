#include "jobfolders.h"

#include "data/panelfiles.h"
#include "platform/panelpaths.h"

#include <QDir>

QString JobFolders::root()
{
    return PanelPaths::data(QStringLiteral("/wave"));
}

QString JobFolders::dir(const QString &name)
{
    return root() + QLatin1Char('/') + name;
}

QString JobFolders::file(const QString &name, const QString &ext)
{
    return dir(name) + QLatin1Char('/') + name + ext;
}

QList<JobFolders::Job> JobFolders::list()
{
    // Folders are listed without a name filter: one would hide jobs whose name does not match.
    const QStringList names = QDir(root()).entryList(QDir::Dirs | QDir::NoSymLinks | QDir::NoDotAndDotDot, QDir::Unsorted);
    QList<Job> jobs;
    jobs.reserve(names.size());
    for (const QString &name : names)
        jobs.append({name, readDateTimeFile(file(name, QStringLiteral(".txt")))});
    return jobs;
}
