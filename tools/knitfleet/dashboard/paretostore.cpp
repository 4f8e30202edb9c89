#include "paretostore.h"

#include "fleetdb.h"
#include "record.h"

#include <QHash>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

using Key = QPair<int, int>; // type, code

QList<ParetoStore::Row> sorted(const QHash<Key, ParetoStore::Row> &rows, bool byTime)
{
    QList<ParetoStore::Row> out = rows.values();
    std::sort(out.begin(), out.end(), [byTime](const ParetoStore::Row &a, const ParetoStore::Row &b) {
        const auto first = byTime ? std::make_pair(a.seconds, a.count) : std::make_pair(a.count, a.seconds);
        const auto second = byTime ? std::make_pair(b.seconds, b.count) : std::make_pair(b.count, b.seconds);
        return first != second ? first > second : std::make_pair(a.type, a.code) < std::make_pair(b.type, b.code);
    });
    return out;
}

void add(QHash<Key, ParetoStore::Row> *to, const ParetoStore::Row &r)
{
    ParetoStore::Row &sum = (*to)[Key(r.type, r.code)];
    if (sum.count == 0 && sum.seconds == 0 && sum.text.isEmpty())
        sum = ParetoStore::Row{r.kind, r.type, r.code, r.planned, r.text, 0, 0};
    if (!r.text.isEmpty())
        sum.text = r.text;
    sum.count += r.count;
    sum.seconds += r.seconds;
}

// Summed in ms, kept in whole seconds.
QHash<Key, ParetoStore::Row> inSeconds(QHash<Key, ParetoStore::Row> rows)
{
    for (ParetoStore::Row &r : rows)
        r.seconds = (r.seconds + 500) / 1000;
    return rows;
}

} // namespace

ParetoStore::ParetoStore(FleetDb *db, const ShiftPlan &plan)
    : db_(db)
    , plan_(plan)
{
}

qint64 ParetoStore::until()
{
    QSqlQuery q(db_->db());
    return q.exec(QStringLiteral("SELECT value FROM settings WHERE name = 'pareto_until'")) && q.next() ? q.value(0).toLongLong() : -1;
}

bool ParetoStore::step(qint64 summarizedUntil)
{
    if (!db_->isOpen())
        return false;
    if (!redo_.isEmpty())
        return store(plan_.at(redo_.takeFirst()));
    QSqlQuery q(db_->db());
    qint64 done = until();
    if (done < 0) {
        // From the oldest event kept on; a fresh database from the shifts summed so far.
        if (!q.exec(QStringLiteral("SELECT MIN(t) FROM alarms")) || !q.next())
            return false;
        done = q.value(0).isNull() ? summarizedUntil : plan_.at(q.value(0).toLongLong()).start;
    } else if (done > summarizedUntil) {
        // New shift times: what the shifts were summed over is summed again.
        q.prepare(QStringLiteral("DELETE FROM pareto_summaries WHERE start_t >= ?"));
        q.addBindValue(summarizedUntil);
        if (!q.exec())
            return false;
        done = summarizedUntil;
    } else if (done == summarizedUntil || summarizedUntil <= 0) {
        return false;
    } else {
        const ShiftPlan::Shift shift = plan_.at(done);
        if (!store(shift))
            return false;
        done = shift.end;
    }
    q.prepare(QStringLiteral("INSERT INTO settings (name, value) VALUES ('pareto_until', ?)"
                             " ON CONFLICT (name) DO UPDATE SET value = excluded.value"));
    q.addBindValue(QString::number(done));
    return q.exec();
}

void ParetoStore::redo(qint64 from, qint64 to, qint64 nowMs)
{
    const QList<ShiftPlan::Shift> shifts = plan_.between(from, qMax(from + 1, to));
    for (int i = 0; i < shifts.size() && i < kMaxLiveShifts; ++i)
        if (shifts[i].end <= nowMs && !redo_.contains(shifts[i].start))
            redo_.append(shifts[i].start);
}

bool ParetoStore::store(const ShiftPlan::Shift &shift)
{
    QList<Row> rows;
    if (!sum(shift, shift.end, &rows))
        return false;
    QSqlDatabase &db = db_->db();
    QSqlQuery q(db);
    bool ok = db.transaction();
    q.prepare(QStringLiteral("DELETE FROM pareto_summaries WHERE start_t = ?"));
    q.addBindValue(shift.start);
    ok = ok && q.exec();
    q.prepare(QStringLiteral("INSERT INTO pareto_summaries (start_t, kind, type, code, planned, text, count, seconds)"
                             " VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const Row &r : rows) {
        for (const QVariant &v : QVariantList{shift.start, r.kind, r.type, r.code, int(r.planned), QStringLiteral("") + r.text, r.count,
                                              r.seconds})
            q.addBindValue(v);
        ok = ok && q.exec();
    }
    if (ok && db.commit())
        return true;
    db.rollback();
    return false;
}

bool ParetoStore::sum(const ShiftPlan::Shift &shift, qint64 until, QList<Row> *out)
{
    out->clear();
    return sumAlarms(shift, until, out) && sumStops(shift, until, out);
}

bool ParetoStore::sumAlarms(const ShiftPlan::Shift &shift, qint64 until, QList<Row> *out)
{
    // Each machine's events of the shift, after the one before it that says whether an alarm
    // stood at its start. An alarm stands until the machine's next event that is no
    // acknowledgement.
    QSqlQuery q(db_->db());
    q.setForwardOnly(true);
    const QString columns = QStringLiteral("a.machine, a.t, a.event, a.type, a.code, a.text");
    // CROSS JOIN: SQLite then looks up the event before the shift once per machine; with the
    // events outside it looked up that event once per event ever kept (a year's: hours).
    q.prepare(QStringLiteral("SELECT %1 FROM machines m CROSS JOIN alarms a WHERE a.machine = m.id AND a.t = (SELECT p.t FROM alarms p"
                             " WHERE p.machine = m.id AND p.t < ? AND p.event <> %2 ORDER BY p.t DESC LIMIT 1)"
                             " UNION ALL SELECT %1 FROM alarms a WHERE a.t >= ? AND a.t < ? AND a.event <> %2 ORDER BY 1, 2")
                  .arg(columns).arg(int(Record::Acknowledged)));
    for (const QVariant &v : QVariantList{shift.start, shift.start, until})
        q.addBindValue(v);
    if (!q.exec())
        return false;
    QHash<Key, Row> rows;
    int machine = -1;
    Row standing; // count 1: an alarm stands, since `seconds`
    const auto end = [&](qint64 t) {
        if (standing.count)
            add(&rows, Row{Alarms, standing.type, standing.code, false, standing.text, 0, t - standing.seconds});
        standing.count = 0;
    };
    while (q.next()) {
        const qint64 t = q.value(1).toLongLong();
        if (q.value(0).toInt() != machine)
            end(until);
        machine = q.value(0).toInt();
        end(qMax(t, shift.start));
        if (q.value(2).toInt() != Record::Raised)
            continue;
        standing = Row{Alarms, q.value(3).toInt(), q.value(4).toInt(), false, q.value(5).toString(), 1, qMax(t, shift.start)};
        if (t >= shift.start)
            add(&rows, Row{Alarms, standing.type, standing.code, false, standing.text, 1, 0});
    }
    end(until);
    out->append(sorted(inSeconds(rows), false));
    return true;
}

bool ParetoStore::sumStops(const ShiftPlan::Shift &shift, qint64 until, QList<Row> *out)
{
    QSqlQuery q(db_->db());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT start_t, end_t, alarm, code, planned, text FROM stops WHERE end_t > ? AND start_t < ?"));
    q.addBindValue(shift.start);
    q.addBindValue(until);
    if (!q.exec())
        return false;
    QHash<Key, Row> rows;
    while (q.next()) {
        const qint64 start = q.value(0).toLongLong();
        const bool reason = !q.value(3).isNull();
        const int code = reason ? q.value(3).toInt() : q.value(2).toInt() ? kAlarmStop : kUnexplainedStop;
        const QString text = reason ? q.value(5).toString() : code == kAlarmStop ? QStringLiteral("alarm") : QStringLiteral("unexplained");
        const qint64 stood = qMin(q.value(1).toLongLong(), until) - qMax(start, shift.start);
        add(&rows, Row{Stops, 0, code, reason && q.value(4).toInt(), text, start >= shift.start ? 1 : 0, qMax<qint64>(0, stood)});
    }
    out->append(sorted(inSeconds(rows), true));
    return true;
}

bool ParetoStore::read(Kind kind, qint64 from, qint64 to, qint64 nowMs, QList<Row> *out)
{
    const qint64 done = qMax<qint64>(0, until());
    QSqlQuery q(db_->db());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT type, code, MAX(planned), MAX(text), SUM(count), SUM(seconds) FROM pareto_summaries"
                             " WHERE kind = ? AND start_t >= ? AND start_t < ? GROUP BY type, code"));
    for (const QVariant &v : QVariantList{int(kind), from, qMin(to, done)})
        q.addBindValue(v);
    if (!q.exec())
        return false;
    QHash<Key, Row> rows;
    while (q.next())
        add(&rows, Row{kind, q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt() != 0, q.value(3).toString(),
                       q.value(4).toLongLong(), q.value(5).toLongLong()});
    int live = 0;
    for (const ShiftPlan::Shift &s : plan_.between(qMax(from, done), qMin(to, nowMs))) {
        QList<Row> shiftRows;
        if (s.start < qMax(from, done) || s.start >= to || ++live > kMaxLiveShifts)
            continue;
        if (!sum(s, qMin(s.end, nowMs), &shiftRows))
            return false;
        for (const Row &r : std::as_const(shiftRows))
            if (r.kind == kind)
                add(&rows, r);
    }
    *out = sorted(rows, kind == Stops);
    return true;
}
