#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// Judges a panel root after a crash against copies of it taken before the save (old) and
// after it (new; after a second save too, for saves killed in a loop): every file is one of
// them whole, every log is the old log with whole event lines after it, and what none has is a
// save's temporary file or a leftover.
class DiskCheck
{
public:
    struct Result
    {
        QStringList partial;     // neither old nor new, missing, or a log with a damaged line
        QStringList torn;        // a log that ends in part of a line
        QStringList temporaries; // ".NAME.XXXXXX" in a folder start-up clears
        QStringList leftovers;   // anything else neither old nor new has
    };

    DiskCheck(const QString &oldRoot, const QStringList &newRoots);
    Result judge(const QString &root) const;

private:
    void judgeLog(const QString &log, const QMap<QString, QByteArray> &files, Result *result) const;

    QMap<QString, QByteArray> old_;
    QList<QMap<QString, QByteArray>> versions_; // old_ first
};
