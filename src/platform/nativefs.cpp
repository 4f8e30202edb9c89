#include "nativefs.h"

#include "crashpoint.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool entryOf(const QByteArray &path, NativeFs::Entry *entry)
{
    struct stat st;
    if (::lstat(path.constData(), &st) != 0 || S_ISLNK(st.st_mode))
        return false;
    if (entry) {
        entry->dir = S_ISDIR(st.st_mode);
        entry->size = entry->dir ? 0 : qint64(st.st_size);
        entry->modified = QDateTime::fromSecsSinceEpoch(qint64(st.st_mtime));
    }
    return true;
}

bool isDotName(const char *name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

} // namespace

QByteArray NativeFs::join(const QByteArray &dir, const QByteArray &name)
{
    return dir.endsWith('/') ? dir + name : dir + '/' + name;
}

QList<QByteArray> NativeFs::names(const QByteArray &dir)
{
    QList<QByteArray> out;
    DIR *d = ::opendir(dir.constData());
    if (!d)
        return out;
    while (const dirent *e = ::readdir(d)) {
        if (!isDotName(e->d_name))
            out.append(QByteArray(e->d_name));
    }
    ::closedir(d);
    return out;
}

bool NativeFs::list(const QByteArray &dir, QList<Entry> *entries)
{
    entries->clear();
    if (!isDir(dir))
        return false;
    for (const QByteArray &name : names(dir)) {
        Entry entry;
        entry.name = name;
        if (entryOf(join(dir, name), &entry))
            entries->append(entry);
    }
    return true;
}

bool NativeFs::stat(const QByteArray &path, Entry *entry)
{
    if (!entryOf(path, entry))
        return false;
    if (entry) {
        const qsizetype slash = path.lastIndexOf('/');
        entry->name = path.mid(slash + 1);
    }
    return true;
}

bool NativeFs::exists(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

bool NativeFs::isDir(const QByteArray &path)
{
    Entry e;
    return entryOf(path, &e) && e.dir;
}

int NativeFs::openRead(const QByteArray &path)
{
    return ::open(path.constData(), O_RDONLY | O_CLOEXEC);
}

bool NativeFs::read(const QByteArray &path, qint64 limit, QByteArray *out)
{
    const int fd = openRead(path);
    if (fd < 0)
        return false;
    out->clear();
    char buffer[65536];
    bool ok = true;
    while (out->size() < limit) {
        const ssize_t n = ::read(fd, buffer, size_t(qMin<qint64>(qint64(sizeof buffer), limit - out->size())));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        out->append(buffer, qsizetype(n));
    }
    ::close(fd);
    return ok;
}

bool NativeFs::makeDir(const QByteArray &path)
{
    return ::mkdir(path.constData(), 0777) == 0 || (errno == EEXIST && isDir(path));
}

bool NativeFs::replace(const QByteArray &from, const QByteArray &to)
{
    return rename(from, to) && sync(folderOf(to));
}

bool NativeFs::rename(const QByteArray &from, const QByteArray &to)
{
    CrashPoint::step("rename");
    return ::rename(from.constData(), to.constData()) == 0;
}

bool NativeFs::sync(const QByteArray &path)
{
    CrashPoint::step("open to sync");
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    CrashPoint::step("fsync");
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

QByteArray NativeFs::folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash > 0 ? path.left(slash) : QByteArray(slash == 0 ? "/" : ".");
}

bool NativeFs::remove(const QByteArray &path)
{
    struct stat st;
    if (::lstat(path.constData(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return ::unlink(path.constData()) == 0;
    bool ok = true;
    for (const QByteArray &name : names(path))
        ok = remove(join(path, name)) && ok;
    return ok && ::rmdir(path.constData()) == 0;
}
