#include "stallreport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSaveFile>
#include <QThread>

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

namespace {
StallReport *g_armed = nullptr;

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
} // namespace

void StallReport::armFromEnvironment()
{
    const QString path = qEnvironmentVariable("KNIT_STALL_REPORT");
    if (!path.isEmpty() && !g_armed)
        new StallReport(path, QCoreApplication::instance());
}

StallReport *StallReport::armed()
{
    return g_armed;
}

StallReport::StallReport(const QString &path, QObject *parent)
    : QObject(parent)
    , path_(path)
{
    g_armed = this;
    clock_.start();
    lastTickNs_ = clock_.nsecsElapsed();
    lastTickCpuNs_ = threadCpuNs();
    schedstat_ = ::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC);
    lastTickQueuedNs_ = queuedNs(schedstat_);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &StallReport::tick);
    timer_.start(kTickMs);
}

StallReport::~StallReport()
{
    write();
    if (schedstat_ >= 0)
        ::close(schedstat_);
    if (g_armed == this)
        g_armed = nullptr;
}

void StallReport::tick()
{
    const qint64 now = clock_.nsecsElapsed();
    const qint64 cpu = threadCpuNs();
    const qint64 queued = queuedNs(schedstat_);
    recorder_.add((now - lastTickNs_) / 1000000, waitedNs_ / 1000000, (cpu - lastTickCpuNs_ - waitedCpuNs_) / 1000000,
                  (queued - lastTickQueuedNs_) / 1000000, QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    lastTickNs_ = now;
    lastTickCpuNs_ = cpu;
    lastTickQueuedNs_ = queued;
    waitedNs_ = 0;
    waitedCpuNs_ = 0;
    if (now - lastWriteNs_ >= qint64(kWriteMs) * 1000000) {
        lastWriteNs_ = now;
        write();
    }
}

bool StallReport::write() const
{
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(recorder_.text().toUtf8());
    return file.commit();
}

StallReport::Wait::Wait()
{
    StallReport *report = g_armed;
    if (!report || QThread::currentThread() != report->thread())
        return;
    counted_ = report->depth_++ == 0;
    if (counted_) {
        startedNs_ = report->clock_.nsecsElapsed();
        startedCpuNs_ = threadCpuNs();
    }
}

StallReport::Wait::~Wait()
{
    StallReport *report = g_armed;
    if (!report || QThread::currentThread() != report->thread())
        return;
    --report->depth_;
    if (counted_) {
        report->waitedNs_ += report->clock_.nsecsElapsed() - startedNs_;
        report->waitedCpuNs_ += threadCpuNs() - startedCpuNs_;
    }
}
