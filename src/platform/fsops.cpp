#include "fsops.h"

#include "atomicfile.h"
#include "crashpoint.h"
#include "nativefs.h"

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
    if (!AtomicFile::save(dst, data))
        return false;
    const QFileDevice::Permissions exec = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    const QFileDevice::Permissions mode = in.permissions();
    return !(mode & exec) || QFile::setPermissions(dst, QFile::permissions(dst) | (mode & exec));
}

bool FsOps::rename(const QString &from, const QString &to)
{
    if (QFileInfo::exists(to))
        return false;
    CrashPoint::step("rename");
    if (!QDir().rename(from, to))
        return false;
    // The folder's new list of names made durable: a power cut after a job folder was put in
    // place must not bring back the one it replaced.
    NativeFs::sync(NativeFs::folderOf(QFile::encodeName(to)));
    return true;
}

namespace {

bool copyTree(const QString &src, const QString &dst)
{
    if (!FsOps::makeDir(dst))
        return false;
    const QDir dir(src);
    const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo &e : entries) {
        const QString to = dst + QLatin1Char('/') + e.fileName();
        bool ok;
        // Links inside the tree stay links, as cp -r keeps them, so a link loop cannot recurse.
        if (e.isSymLink()) {
            QFile::remove(to);
            ok = QFile::link(e.symLinkTarget(), to);
        } else if (e.isDir()) {
            ok = copyTree(e.filePath(), to);
        } else {
            ok = FsOps::copyFile(e.filePath(), to);
        }
        if (!ok)
            return false;
    }
    return true;
}

bool isInside(const QString &path, const QString &dir)
{
    const QString d = QFileInfo(dir).canonicalFilePath();
    QString p = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    // The destination may not exist yet: compare through its nearest existing folder.
    QString tail;
    while (!QFileInfo::exists(p) && p != QLatin1String("/")) {
        tail = QLatin1Char('/') + QFileInfo(p).fileName() + tail;
        p = QFileInfo(p).absolutePath();
    }
    p = QFileInfo(p).canonicalFilePath() + tail;
    return !d.isEmpty() && (p == d || p.startsWith(d + QLatin1Char('/')));
}

} // namespace

bool FsOps::copy(const QString &src, const QString &dst)
{
    const QFileInfo info(src);
    if (!info.isDir())
        return copyFile(src, dst);
    // A copy into itself would never end.
    if (isInside(dst, src))
        return false;
    return copyTree(src, dst);
}

void FsOps::sync()
{
    ::sync();
}
