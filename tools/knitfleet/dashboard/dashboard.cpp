#include "dashboard.h"

#include <QDateTime>

#include <cstdio>

Dashboard::Dashboard(const Options &options, QObject *parent)
    : QObject(parent)
    , options_(options)
    , db_(options.db)
    , recorder_(options.sampleS, &queue_)
    , writer_(&db_, &queue_)
    , retention_(&db_, options.keepDays)
    , shifts_(&db_, options.shifts)
    , history_(&db_)
    , live_(options.staleS)
    , api_(DashboardApi::Sources{&db_, &history_, &shifts_, this})
{
    connect(&writer_, &DbWriter::healthChanged, this, &Dashboard::healthChanged);
    maintenance_.setInterval(kMaintenanceMs);
    connect(&maintenance_, &QTimer::timeout, this, &Dashboard::maintain);
}

bool Dashboard::open(QString *why)
{
    if (!db_.lock(why))
        return false;
    QString problem;
    if (db_.open(&problem))
        return true;
    if (db_.refused()) {
        *why = QStringLiteral("database %1: %2").arg(db_.target().text(), problem);
        return false;
    }
    std::fprintf(stderr, "knitfleet: database %s: %s; recording waits for it\n", qPrintable(db_.target().text()),
                 qPrintable(problem.simplified()));
    return true;
}

void Dashboard::start()
{
    writer_.start();
    maintenance_.start();
}

void Dashboard::take(const QByteArray &topic, const QByteArray &payload, bool retained, qint64 receivedMs)
{
    recorder_.take(topic, payload, retained, receivedMs);
}

bool Dashboard::flush()
{
    while (!queue_.isEmpty())
        if (!writer_.flush())
            return false;
    return writer_.healthy();
}

bool Dashboard::settle(qint64 nowMs)
{
    return flush() && shifts_.catchUp(nowMs);
}

void Dashboard::maintain()
{
    // Summing and pruning wait while the writer cannot write.
    if (!writer_.healthy() || !db_.isOpen())
        return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now >= nextRetentionMs_ && !retention_.step(now))
        nextRetentionMs_ = now + kRetentionRoundMs;
    if (retention_.takeIdsPruned())
        writer_.forgetIds();
    shifts_.step(now);
}
