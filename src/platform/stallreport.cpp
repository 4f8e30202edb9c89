#include "stallreport.h"

#include "applicationparts.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QThread>

#include <chrono>
#include <cstdio>

#include <fcntl.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

namespace {

// The calling thread's CPU time: what it ran, not what it waited for the processor.
qint64 threadCpuNs()
{
    timespec t{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t) != 0)
        return 0;
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// How long the thread has stood ready to run while the processor ran others (the second
// figure of its schedstat), or 0 where the kernel does not keep it.
qint64 queuedNs(int fd)
{
    char text[96];
    const ssize_t n = fd < 0 ? -1 : pread(fd, text, sizeof text - 1, 0);
    if (n <= 0)
        return 0;
    text[n] = 0;
    const QList<QByteArray> fields = QByteArray(text).split(' ');
    return fields.value(1).trimmed().toLongLong();
}

// A short file of /proc, trimmed; empty when it cannot be read.
QByteArray readProc(const QByteArray &path)
{
    char text[256];
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    const ssize_t n = fd < 0 ? -1 : ::read(fd, text, sizeof text - 1);
    if (fd >= 0)
        ::close(fd);
    return n > 0 ? QByteArray(text, int(n)).trimmed() : QByteArray();
}
} // namespace

void StallReport::armFromEnvironment()
{
    const QString path = qEnvironmentVariable("KNIT_STALL_REPORT");
    if (!path.isEmpty() && !armed())
        new StallReport(path, QCoreApplication::instance());
}

StallReport *StallReport::armed()
{
    return ApplicationParts::find<StallReport>();
}

qint64 StallReport::readyNs()
{
    const int fd = ::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC);
    const qint64 ns = queuedNs(fd);
    if (fd >= 0)
        ::close(fd);
    return ns;
}

StallReport::StallReport(const QString &path, QObject *parent)
    : QObject(parent)
    , path_(path)
{
    clock_.start();
    lastTickNs_ = clock_.nsecsElapsed();
    lastTickCpuNs_ = threadCpuNs();
    schedstat_ = ::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC);
    lastTickQueuedNs_ = queuedNs(schedstat_);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &StallReport::tick);
    timer_.start(kTickMs);
    guiTid_ = int(::syscall(SYS_gettid));
    sampler_ = std::thread([this] { sample(); });
}

void StallReport::sample()
{
    const QByteArray task = QByteArrayLiteral("/proc/self/task/") + QByteArray::number(guiTid_);
    const QByteArray wchan = task + QByteArrayLiteral("/wchan");
    const QByteArray syscall = task + QByteArrayLiteral("/syscall");
    std::unique_lock<std::mutex> lock(mutex_);
    qint64 lastWriteNs = clock_.nsecsElapsed();
    while (!wake_.wait_for(lock, std::chrono::milliseconds(kTickMs), [this] { return stopping_; })) {
        const qint64 now = clock_.nsecsElapsed();
        // Written from here, not from the watched thread, whose loop a slow disk would stall.
        if (now - lastWriteNs >= qint64(kWriteMs) * 1000000) {
            lastWriteNs = now;
            const QByteArray text = recorder_.text().toUtf8();
            lock.unlock();
            writeText(text);
            lock.lock();
        }
        if (depth_.load() > 0 || now - lastTickNs_.load() < qint64(3) * kTickMs * 1000000)
            continue;
        // "0" while it runs or is ready to. With it the call and its first three arguments: a
        // poll of one descriptor without a time-out is not the event loop's.
        const QByteArray name = readProc(wchan);
        if (!name.isEmpty() && name != "0")
            blockedIn_ = name + " (" + readProc(syscall).split(' ').mid(0, 4).join(' ') + ')';
    }
}

StallReport::~StallReport()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    sampler_.join();
    write();
    if (schedstat_ >= 0)
        ::close(schedstat_);
}

void StallReport::tick()
{
    const qint64 now = clock_.nsecsElapsed();
    const qint64 cpu = threadCpuNs();
    const qint64 queued = queuedNs(schedstat_);
    QString when = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!blockedIn_.isEmpty())
            when += QStringLiteral(" in ") + QString::fromLatin1(std::exchange(blockedIn_, QByteArray()));
        recorder_.add((now - lastTickNs_) / 1000000, waitedNs_ / 1000000, (cpu - lastTickCpuNs_ - waitedCpuNs_) / 1000000,
                      (queued - lastTickQueuedNs_) / 1000000, when);
    }
    lastTickNs_ = now;
    lastTickCpuNs_ = cpu;
    lastTickQueuedNs_ = queued;
    waitedNs_ = 0;
    waitedCpuNs_ = 0;
}

bool StallReport::write() const
{
    QByteArray text;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        text = recorder_.text().toUtf8();
    }
    return writeText(text);
}

// Whole or not at all for a reader (a rename), without the sync a save of data needs: these
// are figures, rewritten every few seconds.
bool StallReport::writeText(const QByteArray &text) const
{
    const QString fresh = path_ + QStringLiteral(".new");
    QFile file(fresh);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        return false;
    file.close();
    return ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path_).constData()) == 0;
}

StallReport::Wait::Wait()
{
    StallReport *report = armed();
    if (!report)
        return;
    counted_ = report->depth_++ == 0;
    if (counted_) {
        startedNs_ = report->clock_.nsecsElapsed();
        startedCpuNs_ = threadCpuNs();
    }
}

StallReport::Wait::~Wait()
{
    StallReport *report = armed();
    if (!report)
        return;
    --report->depth_;
    if (counted_) {
        report->waitedNs_ += report->clock_.nsecsElapsed() - startedNs_;
        report->waitedCpuNs_ += threadCpuNs() - startedCpuNs_;
    }
}
