#include "historyqueries.h"

#include "fleetdb.h"

#include <QSqlQuery>
#include <QVariant>

HistoryQueries::HistoryQueries(FleetDb *db)
    : db_(db)
{
}

bool HistoryQueries::rows(const QString &sql, const QVariantList &values, const std::function<void(const QSqlQuery &)> &row)
{
    QSqlQuery q(db_->db());
    q.setForwardOnly(true);
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        return false;
    while (q.next())
        row(q);
    return true;
}

int HistoryQueries::machine(const QString &name)
{
    int id = 0;
    return rows(QStringLiteral("SELECT id FROM machines WHERE name = ?"), {name}, [&id](const QSqlQuery &q) { id = q.value(0).toInt(); })
               ? id
               : -1;
}

bool HistoryQueries::samples(int machine, qint64 from, qint64 to, QList<Record> *out, bool *more)
{
    out->clear();
    const bool ok = rows(QStringLiteral("SELECT s.t, s.dt, j.name, s.running, s.online, s.pieces, s.target, s.alarm"
                                        " FROM samples s JOIN jobs j ON j.id = s.job WHERE s.machine = ? AND s.t >= ? AND s.t < ?"
                                        " ORDER BY s.t LIMIT %1")
                             .arg(kMaxSamples + 1),
                         {machine, from, to}, [out](const QSqlQuery &q) {
                             Record r;
                             r.t = q.value(0).toLongLong();
                             r.dt = q.value(1).toInt();
                             r.job = q.value(2).toString();
                             r.running = q.value(3).toInt();
                             r.online = q.value(4).toInt();
                             r.pieces = q.value(5).toInt();
                             r.target = q.value(6).toInt();
                             r.alarm = q.value(7).isNull() ? -1 : q.value(7).toInt();
                             out->append(r);
                         });
    *more = out->size() > kMaxSamples;
    if (*more)
        out->removeLast();
    return ok;
}

bool HistoryQueries::alarms(int machine, int limit, QList<Record> *out)
{
    out->clear();
    return rows(QStringLiteral("SELECT a.t, a.dt, a.panel_time, a.event, a.type, a.code, a.text, j.name, a.row_no, a.pieces"
                               " FROM alarms a JOIN jobs j ON j.id = a.job WHERE a.machine = ? ORDER BY a.t DESC LIMIT ?"),
                {machine, limit}, [out](const QSqlQuery &q) {
                    Record r;
                    r.kind = Record::Alarm;
                    r.t = q.value(0).toLongLong();
                    r.dt = q.value(1).toInt();
                    r.panelTime = q.value(2).toString();
                    r.event = q.value(3).toInt();
                    r.type = q.value(4).toInt();
                    r.code = q.value(5).toInt();
                    r.text = q.value(6).toString();
                    r.job = q.value(7).toString();
                    r.row = q.value(8).toInt();
                    r.pieces = q.value(9).toInt();
                    out->append(r);
                });
}

bool HistoryQueries::pareto(qint64 from, qint64 to, QList<ParetoRow> *out, qint64 *total)
{
    // An alarm stands from its raising until the machine's next event that is no
    // acknowledgement (cleared, or another alarm raised), or until `to`.
    out->clear();
    *total = 0;
    return rows(QStringLiteral("SELECT type, code, MAX(text), COUNT(*), SUM(COALESCE(next_t, ?) - t), SUM(COUNT(*)) OVER ()"
                               " FROM (SELECT event, type, code, text, t, LEAD(t) OVER (PARTITION BY machine ORDER BY t) AS next_t"
                               " FROM alarms WHERE t >= ? AND t < ? AND event <> %1) e"
                               " WHERE event = %2 GROUP BY type, code ORDER BY 4 DESC, 5 DESC LIMIT %3")
                    .arg(int(Record::Acknowledged)).arg(int(Record::Raised)).arg(kMaxParetoRows),
                {to, from, to}, [out, total](const QSqlQuery &q) {
                    out->append({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString(), q.value(3).toLongLong(),
                                 q.value(4).toLongLong()});
                    *total = q.value(5).toLongLong();
                });
}
