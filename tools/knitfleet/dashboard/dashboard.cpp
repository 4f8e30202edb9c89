#include "dashboard.h"

#include <QDateTime>
#include <QSqlQuery>

#include <cstdio>

Dashboard::Dashboard(const Options &options, QObject *parent)
    : QObject(parent)
    , options_(options)
    , db_(options.db)
    , recorder_(options.sampleS, &queue_, options.shifts)
    , writer_(&db_, &queue_)
    , audit_(&db_)
    , retention_(&db_, options.keepDays)
    , shifts_(&db_, options.shifts)
    , paretos_(&db_, options.shifts)
    , history_(&db_)
    , live_(options.staleS, options.shifts)
    , api_(DashboardApi::Sources{&db_, &history_, &shifts_, &paretos_, this})
{
    live_.setGroups(options.groups);
    connect(&writer_, &DbWriter::healthChanged, this, &Dashboard::healthChanged);
    writer_.onWritten([this](int machine, int job, const Record &row) {
        shifts_.written(machine, job, row);
        if (row.kind == Record::Stop)
            stopWritten(machine, row);
    });
    maintenance_.setInterval(kMaintenanceMs);
    connect(&maintenance_, &QTimer::timeout, this, &Dashboard::maintain);
    // While sums wait (start-up, a new shift: every machine read once), a step follows as soon
    // as the loop is free, not a maintenance period later: at 5,000 machines that is a minute
    // against seconds.
    sumMore_.setSingleShot(true);
    sumMore_.setInterval(0);
    connect(&sumMore_, &QTimer::timeout, this, &Dashboard::sumShifts);
}

bool Dashboard::open(QString *why)
{
    if (!db_.lock(why))
        return false;
    QString problem;
    if (db_.open(&problem)) {
        seedStops();
        return true;
    }
    if (db_.refused() || db_.taken()) {
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
    MessageCheck::JobEvent job;
    // A retained job event is one the audit has had already.
    if (recorder_.take(topic, payload, retained, receivedMs, &job) && !job.job.isEmpty() && !retained)
        audit_.record(job.loaded ? QStringLiteral("job-loaded") : QStringLiteral("job-imported"), {},
                      QString::fromUtf8(topic.split('/').value(1)), {},
                      QStringLiteral("%1%2 from %3%4").arg(job.job, job.version > 0 ? QStringLiteral(" v%1").arg(job.version) : QString(),
                                                          job.fromLibrary ? QStringLiteral("the library") : QStringLiteral("a stick"),
                                                          job.sha256[0].isEmpty() ? QString() : QStringLiteral(", .cnt ") + job.sha256[0].left(12)),
                      receivedMs);
}

bool Dashboard::flush()
{
    while (!queue_.isEmpty())
        if (!writer_.flush())
            return false;
    return writer_.healthy() && audit_.flush();
}

bool Dashboard::settle(qint64 nowMs)
{
    if (!flush() || !shifts_.catchUp(nowMs))
        return false;
    while (paretos_.step(shifts_.summarizedUntil()))
        ;
    return true;
}

void Dashboard::maintain()
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    // Alerts come from the live picture: a database in trouble does not hold them.
    if (now - alertsCheckedMs_ >= 1000) {
        alertsCheckedMs_ = now;
        alerts_.check(recorder_, now);
    }
    // Summing and pruning wait while the writer cannot write.
    if (!writer_.healthy() || !db_.isOpen())
        return;
    audit_.flush();
    if (now >= nextRetentionMs_ && !retention_.step(now)) {
        nextRetentionMs_ = now + kRetentionRoundMs;
        // Machines whose samples are gone are no longer kept in memory either.
        recorder_.forget(now - options_.keepDays * 86400000LL);
    }
    if (retention_.takeIdsPruned())
        writer_.forgetIds();
    sumShifts();
    paretos_.step(shifts_.summarizedUntil());
}

void Dashboard::sumShifts()
{
    if (!writer_.healthy() || !db_.isOpen())
        return;
    // Shifts are summed from what is written: up to the oldest row still waiting.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (shifts_.step(queue_.isEmpty() ? now : qMin(now, queue_.oldest())) && shifts_.behind())
        sumMore_.start();
}

void Dashboard::stopWritten(int machine, const Record &stop)
{
    // A reason changes the figures of shifts that may be summed already.
    if (machine <= 0 || stop.code < 0)
        return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    shifts_.redo(machine, stop.t, stop.end, now);
    paretos_.redo(stop.t, qMin(stop.end, now), now);
}

void Dashboard::seedStops()
{
    QSqlQuery q(db_.db());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT m.name, s.start_t, s.end_t, j.name, s.alarm, s.code, s.planned, s.text, s.picked FROM stops s"
                             " JOIN machines m ON m.id = s.machine JOIN jobs j ON j.id = s.job WHERE s.end_t > ?"
                             " ORDER BY s.machine, s.start_t"));
    q.addBindValue(QDateTime::currentMSecsSinceEpoch() - kSeedStopsMs);
    if (!q.exec())
        return;
    while (q.next()) {
        Record r;
        r.kind = Record::Stop;
        r.machine = q.value(0).toString();
        r.t = q.value(1).toLongLong();
        r.end = q.value(2).toLongLong();
        r.job = q.value(3).toString();
        r.alarm = q.value(4).toInt() ? 0 : -1;
        r.code = q.value(5).isNull() ? -1 : q.value(5).toInt();
        r.planned = q.value(6).toInt();
        r.text = q.value(7).toString();
        r.panelTime = q.value(8).toString();
        recorder_.seedStop(r);
    }
}
