#include "logwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void syncDir(const QByteArray &dir)
{
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

LogWriter::LogWriter(const QString &path, qint64 bound)
    : path_(path)
    , bound_(bound)
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
        write(line);
        lock.lock();
        ++done_;
        written_.notify_all();
    }
}

bool LogWriter::openFile()
{
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    const QByteArray name = QFile::encodeName(info.absoluteFilePath());
    const bool existed = info.exists();
    fd_ = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0)
        return false;
    struct stat st{};
    size_ = ::fstat(fd_, &st) == 0 ? st.st_size : 0;
    // A new file's name must survive a power cut as well as its lines.
    if (!existed)
        syncDir(QFile::encodeName(info.absolutePath()));
    return true;
}

void LogWriter::write(const QByteArray &line)
{
    if (fd_ < 0 && !openFile())
        return;
    qint64 done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(fd_, line.constData() + done, size_t(line.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        done += n;
    }
    ::fdatasync(fd_);
    size_ += done;
    if (size_ <= bound_)
        return;
    ::close(fd_);
    fd_ = -1;
    const QFileInfo info(path_);
    const QString rotated = rotatedPath(info.absoluteFilePath());
    if (::rename(QFile::encodeName(info.absoluteFilePath()).constData(), QFile::encodeName(rotated).constData()) == 0)
        syncDir(QFile::encodeName(info.absolutePath()));
}
