#include "historyqueries.h"

#include "fleetdb.h"

#include <QHash>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

HistoryQueries::HistoryQueries(FleetDb *db)
    : db_(db)
{
}

int HistoryQueries::machine(const QString &name)
{
    QSqlQuery q(db_->db());
    q.prepare(QStringLiteral("SELECT id FROM machines WHERE name = ?"));
    q.addBindValue(name);
    if (!q.exec())
        return -1;
    return q.next() ? q.value(0).toInt() : 0;
}

bool HistoryQueries::samples(int machine, qint64 from, qint64 to, QList<Record> *out)
{
    QSqlQuery q(db_->db());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT s.t, s.dt, j.name, s.running, s.online, s.pieces, s.target, s.alarm"
                             " FROM samples s JOIN jobs j ON j.id = s.job WHERE s.machine = ? AND s.t >= ? AND s.t < ?"
                             " ORDER BY s.t LIMIT %1")
                  .arg(kMaxSamples));
    q.addBindValue(machine);
    q.addBindValue(from);
    q.addBindValue(to);
    if (!q.exec())
        return false;
    out->clear();
    while (q.next()) {
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
    }
    return true;
}

bool HistoryQueries::alarms(int machine, int limit, QList<Record> *out)
{
    QSqlQuery q(db_->db());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT a.t, a.dt, a.panel_time, a.event, a.type, a.code, a.text, j.name, a.row_no, a.pieces"
                             " FROM alarms a JOIN jobs j ON j.id = a.job WHERE a.machine = ? ORDER BY a.t DESC LIMIT ?"));
    q.addBindValue(machine);
    q.addBindValue(limit);
    if (!q.exec())
        return false;
    out->clear();
    while (q.next()) {
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
    }
    return true;
}

bool HistoryQueries::pareto(qint64 from, qint64 to, QList<ParetoRow> *out)
{
    QSqlQuery q(db_->db());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT machine, t, event, type, code, text FROM alarms WHERE t >= ? AND t < ? ORDER BY machine, t"));
    q.addBindValue(from);
    q.addBindValue(to);
    if (!q.exec())
        return false;
    QHash<qint64, ParetoRow> rows;
    ParetoRow *standing = nullptr;
    int standingMachine = -1;
    qint64 since = 0;
    const auto end = [&](qint64 t) {
        if (standing)
            standing->standingMs += t - since;
        standing = nullptr;
    };
    while (q.next()) {
        const int machine = q.value(0).toInt();
        const qint64 t = q.value(1).toLongLong();
        const int event = q.value(2).toInt();
        if (machine != standingMachine)
            end(to);
        standingMachine = machine;
        if (event == Record::Acknowledged)
            continue;
        end(t);
        if (event != Record::Raised)
            continue;
        ParetoRow &r = rows[(qint64(q.value(3).toInt()) << 32) | q.value(4).toUInt()];
        r.type = q.value(3).toInt();
        r.code = q.value(4).toInt();
        r.text = q.value(5).toString();
        ++r.count;
        standing = &r;
        since = t;
    }
    end(to);
    *out = rows.values();
    std::sort(out->begin(), out->end(), [](const ParetoRow &a, const ParetoRow &b) {
        return a.count != b.count ? a.count > b.count : a.standingMs > b.standingMs;
    });
    return true;
}
