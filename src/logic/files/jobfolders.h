#pragma once

#include <QList>
#include <QString>

// The jobs on the panel's disk: every folder of the job directory is a job named after it,
// holding name.cnt, .pat, .wrk, maybe .xxx, and name.txt with the date and time of its import.
class JobFolders
{
public:
    struct Job
    {
        QString name;
        QString time; // readDateTimeFile of name.txt: "date time", or "error"
    };

    static QString root(); // data root + "/wave"
    static QString dir(const QString &name);
    // dir(name) + "/" + name + ext, ext with its dot (".cnt").
    static QString file(const QString &name, const QString &ext);
    // Every job folder, whatever its name: links and hidden folders (an import's staging
    // folder) are left out. Unsorted.
    static QList<Job> list();
};
