#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// Judges a panel root after a crash against copies of it taken before the save (old) and
// after it (new): every file is one of them whole, every log is the old log with whole event
// lines after it, and what neither has is a save's temporary file or a leftover.
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

    DiskCheck(const QString &oldRoot, const QString &newRoot);
    Result judge(const QString &root) const;

private:
    void judgeLog(const QString &log, const QMap<QString, QByteArray> &files, Result *result) const;

    QMap<QString, QByteArray> old_;
    QMap<QString, QByteArray> new_;
};
