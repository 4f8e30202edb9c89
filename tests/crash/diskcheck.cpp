#include "diskcheck.h"

#include "data/historylog.h"
#include "platform/atomicfile.h"
#include "platform/logwriter.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

namespace {

// What a save may write: the panel's disk and the stick.
const char kMedia[] = "/mnt";
const char kLogs[] = "mnt/ide/knit/log/";

QMap<QString, QByteArray> filesOf(const QString &root)
{
    QMap<QString, QByteArray> files;
    const QString top = root + QLatin1String(kMedia);
    QDirIterator it(top, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        files.insert(f.fileName().mid(root.size() + 1), f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    }
    return files;
}

bool isLog(const QString &path)
{
    return path.startsWith(QLatin1String(kLogs)) && path.endsWith(QLatin1String(".log"));
}

// The folders start-up clears of temporaries: the data root, para/, log/, the job folders.
bool cleared(const QString &path)
{
    static const QRegularExpression folders(QStringLiteral("^mnt/ide/knit/((para|log|wave|wave/[^/]+)/)?[^/]+$"));
    return folders.match(path).hasMatch();
}

QByteArray text(const QMap<QString, QByteArray> &files, const QString &log)
{
    return files.value(LogWriter::rotatedPath(log)) + files.value(log);
}

} // namespace

DiskCheck::DiskCheck(const QString &oldRoot, const QString &newRoot)
    : old_(filesOf(oldRoot))
    , new_(filesOf(newRoot))
{
}

DiskCheck::Result DiskCheck::judge(const QString &root) const
{
    const QMap<QString, QByteArray> files = filesOf(root);
    Result result;
    QStringList known = old_.keys() + new_.keys();
    for (const QString &path : files.keys()) {
        if (!old_.contains(path) && !new_.contains(path) && !isLog(path)) {
            const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
            (AtomicFile::isTemporaryName(QFile::encodeName(name)) && cleared(path) ? result.temporaries : result.leftovers).append(path);
        }
    }
    known.removeDuplicates();
    for (const QString &path : known) {
        if (isLog(path)) {
            if (!path.endsWith(QLatin1String(".1.log")))
                judgeLog(path, files, &result);
            continue;
        }
        const auto got = files.constFind(path);
        if (got == files.constEnd() ? old_.contains(path) && new_.contains(path)
                                    : *got != old_.value(path, "\x01<none>") && *got != new_.value(path, "\x01<none>"))
            result.partial.append(path);
    }
    return result;
}

void DiskCheck::judgeLog(const QString &log, const QMap<QString, QByteArray> &files, Result *result) const
{
    const QByteArray before = text(old_, log);
    const QByteArray now = text(files, log);
    if (!now.startsWith(before)) {
        result->partial.append(log);
        return;
    }
    QByteArray added = now.mid(before.size());
    if (!added.isEmpty() && !added.endsWith('\n')) {
        result->torn.append(log);
        added.truncate(added.lastIndexOf('\n') + 1);
    }
    if (HistoryLog::parse(added).skipped != 0)
        result->partial.append(log);
}
