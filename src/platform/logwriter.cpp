#include "logwriter.h"

#include "crashpoint.h"
#include "nativefs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Cuts the file back to its last whole line: what follows the last newline is a line whose
// write was cut off (a kill -9 can stop a write() between pages, a power cut before all of it
// reached the disk). Appending after it would join it to the next line.
bool cutTornLine(int fd, qint64 *size)
{
    struct stat st{};
    if (::fstat(fd, &st) != 0)
        return false;
    qint64 end = st.st_size;
    char buffer[4096];
    while (end > 0) {
        const qint64 from = qMax<qint64>(0, end - qint64(sizeof buffer));
        const ssize_t n = ::pread(fd, buffer, size_t(end - from), from);
        if (n != end - from)
            return false;
        const void *newline = ::memrchr(buffer, '\n', size_t(n));
        if (newline) {
            end = from + (static_cast<const char *>(newline) - buffer) + 1;
            break;
        }
        end = from;
    }
    if (end < st.st_size && ::ftruncate(fd, end) != 0)
        return false;
    *size = end;
    return true;
}

} // namespace

LogWriter::LogWriter(const QString &path, qint64 bound, Outcome outcome)
    : path_(path)
    , bound_(bound)
    , outcome_(std::move(outcome))
{
    thread_ = std::thread([this] { run(); });
}

LogWriter::~LogWriter()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
    if (fd_ >= 0)
        ::close(fd_);
}

QString LogWriter::rotatedPath(const QString &path)
{
    QString p = path;
    if (p.endsWith(QLatin1String(".log")))
        p.chop(4);
    return p + QStringLiteral(".1.log");
}

void LogWriter::append(const QByteArray &line)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(line + '\n');
        ++queued_;
    }
    wake_.notify_one();
}

void LogWriter::flush()
{
    std::unique_lock<std::mutex> lock(mutex_);
    const quint64 target = queued_;
    written_.wait(lock, [&] { return done_ >= target; });
}

void LogWriter::run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return stop_ || !queue_.empty(); });
        if (queue_.empty() && stop_)
            return;
        const QByteArray line = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        const bool written = write(line);
        if (outcome_)
            outcome_(written);
        lock.lock();
        ++done_;
        written_.notify_all();
    }
}

bool LogWriter::repair(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    qint64 size = 0;
    const bool ok = cutTornLine(fd, &size) && ::fdatasync(fd) == 0;
    ::close(fd);
    return ok;
}

bool LogWriter::openFile()
{
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    const QByteArray name = QFile::encodeName(info.absoluteFilePath());
    const bool existed = info.exists();
    CrashPoint::step("open");
    fd_ = ::open(name.constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0)
        return false;
    if (!cutTornLine(fd_, &size_)) {
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    // A new file's name must survive a power cut as well as its lines.
    if (!existed)
        NativeFs::sync(QFile::encodeName(info.absolutePath()));
    return true;
}

bool LogWriter::write(const QByteArray &line)
{
    if (fd_ < 0 && !openFile())
        return false;
    qint64 done = 0;
    while (done < line.size()) {
        CrashPoint::step("write");
        const ssize_t n = ::write(fd_, line.constData() + done, size_t(line.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // The line is lost. Opening again cuts off what was written of it before the next.
            ::close(fd_);
            fd_ = -1;
            return false;
        }
        done += n;
    }
    CrashPoint::step("fdatasync");
    // A full disk may show only here, when the pages meet it.
    const bool synced = ::fdatasync(fd_) == 0;
    size_ += done;
    if (size_ <= bound_)
        return synced;
    ::close(fd_);
    fd_ = -1;
    const QFileInfo info(path_);
    const QString rotated = rotatedPath(info.absoluteFilePath());
    CrashPoint::step("rename");
    if (::rename(QFile::encodeName(info.absoluteFilePath()).constData(), QFile::encodeName(rotated).constData()) == 0)
        NativeFs::sync(QFile::encodeName(info.absolutePath()));
    return synced;
}
