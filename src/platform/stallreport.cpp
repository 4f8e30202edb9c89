#include "stallreport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSaveFile>
#include <QThread>

namespace {
StallReport *g_armed = nullptr;
}

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
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &StallReport::tick);
    timer_.start(kTickMs);
}

StallReport::~StallReport()
{
    write();
    if (g_armed == this)
        g_armed = nullptr;
}

void StallReport::tick()
{
    const qint64 now = clock_.nsecsElapsed();
    recorder_.add((now - lastTickNs_) / 1000000, waitedNs_ / 1000000,
                  QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    lastTickNs_ = now;
    waitedNs_ = 0;
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
    if (counted_)
        startedNs_ = report->clock_.nsecsElapsed();
}

StallReport::Wait::~Wait()
{
    StallReport *report = g_armed;
    if (!report || QThread::currentThread() != report->thread())
        return;
    --report->depth_;
    if (counted_)
        report->waitedNs_ += report->clock_.nsecsElapsed() - startedNs_;
}
