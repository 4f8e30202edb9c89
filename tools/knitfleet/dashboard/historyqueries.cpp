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

bool HistoryQueries::records(const QString &sql, const QVariantList &values, Record::Kind kind, const QList<Field> &fields,
                             QList<Record> *out)
{
    out->clear();
    return rows(sql, values, [&](const QSqlQuery &q) {
        Record r;
        r.kind = kind;
        for (int i = 0; i < fields.size(); ++i)
            fields[i](r, q.value(i));
        out->append(r);
    });
}

int HistoryQueries::machine(const QString &name)
{
    int id = 0;
    return rows(QStringLiteral("SELECT id FROM machines WHERE name = ?"), {name}, [&id](const QSqlQuery &q) { id = q.value(0).toInt(); })
               ? id
               : -1;
}

namespace {

void t(Record &r, const QVariant &v) { r.t = v.toLongLong(); }
void dt(Record &r, const QVariant &v) { r.dt = v.toInt(); }
void job(Record &r, const QVariant &v) { r.job = v.toString(); }
void pieces(Record &r, const QVariant &v) { r.pieces = v.toInt(); }

} // namespace

bool HistoryQueries::samples(int machine, qint64 from, qint64 to, QList<Record> *out, bool *more)
{
    const bool ok = records(QStringLiteral("SELECT s.t, s.dt, j.name, s.running, s.online, s.pieces, s.target, s.alarm"
                                           " FROM samples s JOIN jobs j ON j.id = s.job WHERE s.machine = ? AND s.t >= ? AND s.t < ?"
                                           " ORDER BY s.t LIMIT %1")
                                .arg(kMaxSamples + 1),
                            {machine, from, to}, Record::Sample,
                            {t, dt, job, [](Record &r, const QVariant &v) { r.running = v.toInt(); },
                             [](Record &r, const QVariant &v) { r.online = v.toInt(); }, pieces,
                             [](Record &r, const QVariant &v) { r.target = v.toInt(); },
                             [](Record &r, const QVariant &v) { r.alarm = v.isNull() ? -1 : v.toInt(); }},
                            out);
    *more = out->size() > kMaxSamples;
    if (*more)
        out->removeLast();
    return ok;
}

bool HistoryQueries::alarms(int machine, int limit, QList<Record> *out)
{
    return records(QStringLiteral("SELECT a.t, a.dt, a.panel_time, a.event, a.type, a.code, a.text, j.name, a.row_no, a.pieces"
                                  " FROM alarms a JOIN jobs j ON j.id = a.job WHERE a.machine = ? ORDER BY a.t DESC LIMIT ?"),
                   {machine, limit}, Record::Alarm,
                   {t, dt, [](Record &r, const QVariant &v) { r.panelTime = v.toString(); },
                    [](Record &r, const QVariant &v) { r.event = v.toInt(); }, [](Record &r, const QVariant &v) { r.type = v.toInt(); },
                    [](Record &r, const QVariant &v) { r.code = v.toInt(); }, [](Record &r, const QVariant &v) { r.text = v.toString(); },
                    job, [](Record &r, const QVariant &v) { r.row = v.toInt(); }, pieces},
                   out);
}
