#include "atomicfile.h"

#include "crashpoint.h"
#include "nativefs.h"
#include "panelpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The host build's emulated full disk: the number in this file is how many bytes one file takes
// before writes fail with ENOSPC.
QString limitFile()
{
    return PanelPaths::resolve(QStringLiteral("/var/write-limit"));
}

qint64 writeLimit()
{
#ifdef KNIT_PANEL_BUILD
    return -1;
#else
    QFile f(limitFile());
    bool ok = false;
    const qint64 limit = f.open(QIODevice::ReadOnly) ? f.read(32).trimmed().toLongLong(&ok) : -1;
    return ok ? limit : -1;
#endif
}

} // namespace

AtomicFile::AtomicFile(const QString &path)
{
    // A link stays a link: the file it names is replaced, in that file's folder (the panel
    // computer's read-only root links /etc/pointercal to the data disk).
    const QFileInfo link(path);
    const QFileInfo info(link.isSymLink() ? link.symLinkTarget() : path);
    setPaths(QFile::encodeName(info.absoluteFilePath()), QFile::encodeName(info.absolutePath()),
             QFile::encodeName(info.fileName()));
}

AtomicFile::AtomicFile(const QByteArray &nativePath, Native)
{
    setPaths(nativePath, NativeFs::folderOf(nativePath), nativePath.mid(nativePath.lastIndexOf('/') + 1));
}

void AtomicFile::setPaths(const QByteArray &target, const QByteArray &dir, const QByteArray &fileName)
{
    target_ = target;
    dir_ = dir;
    tmp_ = dir_ + "/." + fileName + ".XXXXXX";
}

AtomicFile::~AtomicFile()
{
    abort();
}

bool AtomicFile::open(QString *error)
{
    abort();
    tmp_ = tmp_.left(tmp_.size() - 6) + "XXXXXX";
    written_ = 0;
    limit_ = writeLimit();
    CrashPoint::step("open");
    fd_ = ::mkostemp(tmp_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

bool AtomicFile::append(const char *data, qint64 length, QString *error)
{
    if (fd_ < 0 || length < 0 || (length > 0 && !data))
        return fail(EINVAL, error);
    qint64 done = 0;
    while (done < length) {
        qint64 chunk = length - done;
        if (limit_ >= 0) {
            if (written_ >= limit_)
                return fail(ENOSPC, error);
            chunk = qMin(chunk, limit_ - written_);
        }
        CrashPoint::step("write");
        const ssize_t w = ::write(fd_, data + done, size_t(chunk));
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno, error);
        }
        done += w;
        written_ += w;
    }
    return true;
}

bool AtomicFile::commit(bool durable, QString *error)
{
    if (fd_ < 0)
        return fail(EINVAL, error);
    if (durable) {
        CrashPoint::step("fsync");
        if (::fsync(fd_) != 0)
            return fail(errno, error);
    }
    // Keep the permissions an ordinary create would give (mkostemp makes 0600).
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
    const int fd = fd_;
    fd_ = -1;
    const bool closed = ::close(fd) == 0;
    CrashPoint::step("rename");
    if (!closed || ::rename(tmp_.constData(), target_.constData()) != 0) {
        const int err = errno;
        ::unlink(tmp_.constData());
        return fail(err, error);
    }
    if (durable)
        NativeFs::sync(dir_);
    return true;
}

void AtomicFile::abort()
{
    if (fd_ < 0)
        return;
    ::close(fd_);
    ::unlink(tmp_.constData());
    fd_ = -1;
}

bool AtomicFile::fail(int err, QString *error)
{
    abort();
    if (error)
        *error = err == EINVAL ? QStringLiteral("invalid data") : QString::fromLocal8Bit(std::strerror(err));
    return false;
}

bool AtomicFile::save(const QString &path, const QByteArray &data, QString *error)
{
    return save(path, data.constData(), data.size(), error);
}

bool AtomicFile::save(const QString &path, const void *data, qint64 length, QString *error)
{
    if (length < 0 || (length > 0 && !data)) {
        if (error)
            *error = QStringLiteral("invalid data");
        return false;
    }
    AtomicFile file(path);
    return file.saveAll(data, length, error);
}

bool AtomicFile::saveNative(const QByteArray &nativePath, const QByteArray &data, QString *error)
{
    AtomicFile file(nativePath, Native());
    return file.saveAll(data.constData(), data.size(), error);
}

bool AtomicFile::saveAll(const void *data, qint64 length, QString *error)
{
    return open(error) && append(static_cast<const char *>(data), length, error) && commit(true, error);
}

bool AtomicFile::isTemporaryName(const QByteArray &name)
{
    constexpr int kUnique = 6; // mkostemp's letters
    if (name.size() < kUnique + 3 || name.at(0) != '.' || name.at(name.size() - kUnique - 1) != '.')
        return false;
    for (const char c : name.right(kUnique)) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return false;
    }
    return true;
}

void AtomicFile::removeTemporaries(const QString &dir)
{
    const QByteArray folder = QFile::encodeName(dir);
    for (const QByteArray &name : NativeFs::names(folder)) {
        const QByteArray path = NativeFs::join(folder, name);
        struct stat st;
        if (isTemporaryName(name) && ::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode))
            ::unlink(path.constData());
    }
}

void AtomicFile::setWriteLimitForTesting(qint64 bytes)
{
    const QString file = limitFile();
    if (bytes < 0) {
        QFile::remove(file);
        return;
    }
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(QByteArray::number(bytes));
}
