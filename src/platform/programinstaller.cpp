#include "programinstaller.h"

#include "atomicfile.h"
#include "crashpoint.h"
#include "nativefs.h"
#include "panelprogram.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kLinkSuffix[] = ".old.tmp";

bool readBounded(const QByteArray &path, QByteArray *out)
{
    QFile f(QFile::decodeName(path));
    if (!f.open(QIODevice::ReadOnly) || f.size() > ProgramInstaller::kMaxSize)
        return false;
    *out = f.readAll();
    return f.error() == QFileDevice::NoError && out->size() <= ProgramInstaller::kMaxSize;
}

// 0755 and on disk: a program the boot scripts can start.
bool makeExecutable(const QByteArray &path)
{
    struct stat st;
    return ::chmod(path.constData(), 0755) == 0 && ::stat(path.constData(), &st) == 0 && (st.st_mode & S_IXUSR)
        && NativeFs::sync(path);
}

// target.old holds what target holds now: a hard link where the file system has them (no copy
// of several megabytes; the rename is flushed with the folder by commit), else a whole atomic
// copy.
bool keepOld(const QByteArray &target)
{
    if (!QFileInfo::exists(QFile::decodeName(target)))
        return true;
    const QByteArray old = target + ".old";
    const QByteArray link = target + kLinkSuffix;
    ::unlink(link.constData());
    CrashPoint::step("link");
    if (::link(target.constData(), link.constData()) == 0) {
        CrashPoint::step("rename");
        if (::rename(link.constData(), old.constData()) == 0)
            return true;
        ::unlink(link.constData());
        return false;
    }
    QByteArray bytes;
    return readBounded(target, &bytes) && AtomicFile::save(QFile::decodeName(old), bytes) && makeExecutable(old);
}

} // namespace

ProgramInstaller::Result ProgramInstaller::verify(const QByteArray &source, const QString &staged)
{
    const QByteArray stagedPath = QFile::encodeName(staged);
    // Mapped, not read: the check and the comparison touch 16 MiB for an 8 MiB program.
    QFile copyFile(staged);
    QFile originalFile(QFile::decodeName(source));
    const bool opened = copyFile.open(QIODevice::ReadOnly) && originalFile.open(QIODevice::ReadOnly)
        && copyFile.size() <= kMaxSize && copyFile.size() == originalFile.size();
    const qint64 size = opened ? copyFile.size() : 0;
    const uchar *copyData = size ? copyFile.map(0, size) : nullptr;
    const uchar *originalData = size ? originalFile.map(0, size) : nullptr;
    const QByteArray copy = copyData ? QByteArray::fromRawData(reinterpret_cast<const char *>(copyData), size) : QByteArray();
    Result result = Installed;
    if (!opened)
        result = copyFile.isOpen() && originalFile.isOpen() ? NotEqual : WriteFailed;
    else if (PanelProgram::check(copy, PanelProgram::running()) != PanelProgram::Sound)
        result = NotProgram;
    else if (!originalData || std::memcmp(copyData, originalData, size_t(size)) != 0)
        result = NotEqual;
    else {
        QFile sum(QFile::decodeName(source + ".sha256"));
        if (sum.exists()) {
            const QByteArray want = sum.open(QIODevice::ReadOnly) ? PanelProgram::sha256Line(sum.read(4096)) : QByteArray();
            if (want.isEmpty() || QCryptographicHash::hash(copy, QCryptographicHash::Sha256) != want)
                result = NotEqual;
        }
    }
    if (result == Installed && !makeExecutable(stagedPath))
        result = WriteFailed;
    if (result != Installed)
        ::unlink(stagedPath.constData());
    return result;
}

ProgramInstaller::Result ProgramInstaller::commit(const QString &staged, const QString &target)
{
    const QByteArray stagedPath = QFile::encodeName(staged);
    const QByteArray targetPath = QFile::encodeName(target);
    if (keepOld(targetPath) && NativeFs::replace(stagedPath, targetPath))
        return Installed;
    ::unlink(stagedPath.constData());
    return WriteFailed;
}

ProgramInstaller::Result ProgramInstaller::install(const QByteArray &source, const QString &staged, const QString &target)
{
    const Result r = verify(source, staged);
    return r == Installed ? commit(staged, target) : r;
}

QString ProgramInstaller::stagedPath(const QString &target)
{
    return target + QStringLiteral(".new");
}

void ProgramInstaller::removeLeftovers(const QString &target)
{
    for (const QString &path : {stagedPath(target), target + QLatin1String(kLinkSuffix)})
        ::unlink(QFile::encodeName(path).constData());
}
