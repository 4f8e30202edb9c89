#include "fsops.h"

#include "atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

bool FsOps::makeDir(const QString &path)
{
    return QDir().mkpath(path);
}

bool FsOps::removeTree(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.isDir() && !info.isSymLink())
        return QDir(path).removeRecursively();
    return QFile::remove(path);
}

bool FsOps::copyFile(const QString &src, const QString &dst)
{
    QFile in(src);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return false;
    return AtomicFile::save(dst, data);
}

bool FsOps::copy(const QString &src, const QString &dst)
{
    const QFileInfo info(src);
    if (!info.isDir())
        return copyFile(src, dst);
    if (!makeDir(dst))
        return false;
    const QDir dir(src);
    const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo &e : entries) {
        if (!copy(e.filePath(), dst + QLatin1Char('/') + e.fileName()))
            return false;
    }
    return true;
}

void FsOps::sync()
{
    ::sync();
}
