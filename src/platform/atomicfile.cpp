#include "atomicfile.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<qint64> g_writeLimit{-1};

bool writeAll(int fd, const char *p, qint64 n, int *err)
{
    qint64 written = 0;
    while (written < n) {
        qint64 chunk = n - written;
        const qint64 limit = g_writeLimit.load();
        if (limit >= 0) {
            if (written >= limit) {
                *err = ENOSPC;
                return false;
            }
            chunk = qMin(chunk, limit - written);
        }
        const ssize_t w = ::write(fd, p + written, size_t(chunk));
        if (w < 0) {
            if (errno == EINTR)
                continue;
            *err = errno;
            return false;
        }
        written += w;
    }
    return true;
}

void fsyncDir(const QByteArray &dir)
{
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

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
    const QFileInfo info(path);
    const QByteArray target = QFile::encodeName(info.absoluteFilePath());
    const QByteArray dir = QFile::encodeName(info.absolutePath());
    QByteArray tmp = dir + "/." + QFile::encodeName(info.fileName()) + ".XXXXXX";

    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    int err = 0;
    bool ok = writeAll(fd, static_cast<const char *>(data), length, &err);
    if (ok && ::fsync(fd) != 0) {
        err = errno;
        ok = false;
    }
    // Keep the permissions an ordinary create would give (mkostemp makes 0600).
    if (ok) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    if (::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    if (ok && ::rename(tmp.constData(), target.constData()) != 0) {
        err = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(tmp.constData());
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(err));
        return false;
    }
    fsyncDir(dir);
    return true;
}

void AtomicFile::setWriteLimitForTesting(qint64 bytes)
{
    g_writeLimit.store(bytes);
}
