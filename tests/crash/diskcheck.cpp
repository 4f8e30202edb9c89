#include "diskcheck.h"

#include "data/historylog.h"
#include "platform/atomicfile.h"
#include "platform/logwriter.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

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

DiskCheck::DiskCheck(const QString &oldRoot, const QStringList &newRoots)
    : old_(filesOf(oldRoot))
    , versions_{old_}
{
    for (const QString &root : newRoots)
        versions_.append(filesOf(root));
}

DiskCheck::Result DiskCheck::judge(const QString &root) const
{
    const QMap<QString, QByteArray> files = filesOf(root);
    Result result;
    QStringList known;
    for (const auto &version : versions_)
        known += version.keys();
    known.removeDuplicates();
    for (auto it = files.constBegin(); it != files.constEnd(); ++it) {
        const QString &path = it.key();
        if (!known.contains(path) && !isLog(path)) {
            const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
            (AtomicFile::isTemporaryName(QFile::encodeName(name)) && cleared(path) ? result.temporaries : result.leftovers).append(path);
        }
    }
    for (const QString &path : known) {
        if (isLog(path)) {
            if (!path.endsWith(QLatin1String(".1.log")))
                judgeLog(path, files, &result);
            continue;
        }
        const auto got = files.constFind(path);
        // Missing is whole only where a version lacks the file too.
        const bool whole = std::any_of(versions_.cbegin(), versions_.cend(), [&](const QMap<QString, QByteArray> &version) {
            const auto want = version.constFind(path);
            return got == files.constEnd() ? want == version.constEnd() : want != version.constEnd() && *want == *got;
        });
        if (!whole)
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
