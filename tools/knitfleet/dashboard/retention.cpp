#include "retention.h"

#include "auditlog.h"
#include "fleetdb.h"

#include <QSqlQuery>
#include <QVariant>

Retention::Retention(FleetDb *db, int keepDays)
    : db_(db)
    , keepDays_(keepDays)
{
}

bool Retention::prune(const char *table, int machine, long long cutoff, bool *more)
{
    QSqlQuery q(db_->db());
    q.prepare(QStringLiteral("SELECT MIN(t) FROM %1 WHERE machine = ?").arg(QLatin1String(table)));
    q.addBindValue(machine);
    if (!q.exec() || !q.next())
        return false;
    if (q.value(0).isNull() || q.value(0).toLongLong() >= cutoff)
        return true;
    const long long until = qMin(cutoff, q.value(0).toLongLong() + kBatchMs);
    q.prepare(QStringLiteral("DELETE FROM %1 WHERE machine = ? AND t < ?").arg(QLatin1String(table)));
    q.addBindValue(machine);
    q.addBindValue(until);
    *more = *more || until < cutoff;
    return q.exec();
}

bool Retention::step(long long nowMs)
{
    if (!db_->isOpen())
        return false;
    if (machine_ == 0) {
        // A round begins with the audit's old rows, a batch a step.
        bool more = false;
        if (!AuditLog::prune(db_->db(), nowMs, &more))
            return false;
        if (more)
            return true;
    }
    QSqlQuery q(db_->db());
    q.prepare(QStringLiteral("SELECT MIN(id) FROM machines WHERE id > ?"));
    q.addBindValue(machine_);
    if (!q.exec() || !q.next())
        return false;
    if (q.value(0).isNull()) {
        machine_ = 0; // a round is over
        pruneIds(nowMs);
        return false;
    }
    machine_ = q.value(0).toInt();
    bool more = false;
    const bool ok = prune("samples", machine_, nowMs - keepDays_ * 86400000LL, &more)
                    && prune("alarms", machine_, nowMs - kAlarmDays * 86400000LL, &more);
    if (more)
        --machine_; // the same machine again
    return ok;
}

bool Retention::pruneIds(long long nowMs)
{
    // A day's margin: retention may still be on its way through the older samples. The highest
    // job id stays, so no id is ever given out again (shift summaries keep job ids).
    QSqlQuery q(db_->db());
    q.prepare(QStringLiteral("DELETE FROM jobs WHERE id IN (SELECT id FROM jobs j WHERE last_t < ?"
                             " AND id < (SELECT MAX(id) FROM jobs) AND NOT EXISTS (SELECT 1 FROM alarms a WHERE a.job = j.id)"
                             " ORDER BY last_t LIMIT %1)").arg(kIdBatch));
    q.addBindValue(nowMs - (keepDays_ + 1) * 86400000LL);
    if (!q.exec())
        return false;
    idsPruned_ = idsPruned_ || q.numRowsAffected() > 0;
    if (!q.exec(QStringLiteral("DELETE FROM machines WHERE id IN (SELECT id FROM machines m WHERE"
                               " NOT EXISTS (SELECT 1 FROM samples s WHERE s.machine = m.id)"
                               " AND NOT EXISTS (SELECT 1 FROM alarms a WHERE a.machine = m.id)"
                               " AND NOT EXISTS (SELECT 1 FROM shift_summaries x WHERE x.machine = m.id) LIMIT %1)").arg(kIdBatch)))
        return false;
    idsPruned_ = idsPruned_ || q.numRowsAffected() > 0;
    return true;
}

bool Retention::takeIdsPruned()
{
    const bool pruned = idsPruned_;
    idsPruned_ = false;
    return pruned;
}
