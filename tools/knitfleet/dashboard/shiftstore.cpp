#include "shiftstore.h"

#include "fleetdb.h"

#include <QElapsedTimer>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>

ShiftStore::ShiftStore(FleetDb *db, const ShiftPlan &plan)
    : db_(db)
    , plan_(plan)
{
}

QSqlQuery &ShiftStore::prepared(const QString &sql)
{
    if (preparedFor_ != db_->generation()) {
        prepared_.clear();
        preparedFor_ = db_->generation();
    }
    auto it = prepared_.find(sql);
    if (it == prepared_.end()) {
        it = prepared_.emplace(sql, QSqlQuery(db_->db())).first;
        it->second.setForwardOnly(true);
        it->second.prepare(sql); // a failure shows at exec()
    }
    return it->second;
}

// The last row before `from` that says how the span began (prior: an extra condition), and
// those from `from` on, oldest first.
bool ShiftStore::load(const QString &columns, const QString &table, const QString &prior, int machine, qint64 from, qint64 to,
                      QList<QVariantList> *out)
{
    const QString sql = QStringLiteral("SELECT t, %1 FROM %2 WHERE machine = ? AND t < ?").arg(columns, table);
    const int n = columns.count(QLatin1Char(',')) + 2;
    // Runs one of the two reads with its values bound, keeping at most `limit` rows; no read is
    // left open between sums.
    const auto read = [this, n, out](const QString &text, const QVariantList &values, int limit) {
        QSqlQuery &q = prepared(text);
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (!q.exec())
            return false;
        for (int rows = 0; rows != limit && q.next(); ++rows) {
            QVariantList row;
            for (int i = 0; i < n; ++i)
                row.append(q.value(i));
            out->append(row);
        }
        q.finish();
        return true;
    };
    return read(sql + prior + QStringLiteral(" ORDER BY t DESC LIMIT 1"), {machine, from}, 1)
        && read(sql + QStringLiteral(" AND t >= ? ORDER BY t"), {machine, to, from}, -1);
}

QString ShiftStore::setting(const QString &name)
{
    QSqlQuery &q = prepared(QStringLiteral("SELECT value FROM settings WHERE name = ?"));
    q.addBindValue(name);
    const QString value = q.exec() && q.next() ? q.value(0).toString() : QString();
    q.finish();
    return value;
}

bool ShiftStore::setting(const QString &name, const QString &value)
{
    QSqlQuery &q = prepared(
        QStringLiteral("INSERT INTO settings (name, value) VALUES (?, ?) ON CONFLICT (name) DO UPDATE SET value = excluded.value"));
    q.addBindValue(name);
    q.addBindValue(value);
    return q.exec();
}

bool ShiftStore::figures(int machine, qint64 from, qint64 to, QMap<QString, ShiftFigures::Figures> *out)
{
    QList<Record> samples;
    QList<Record> alarms;
    QList<Record> stops;
    if (!read(machine, from, to, &samples, &alarms, &stops))
        return false;
    *out = samples.isEmpty() ? QMap<QString, ShiftFigures::Figures>() : ShiftFigures::compute(samples, alarms, stops, from, to);
    return true;
}

bool ShiftStore::read(int machine, qint64 from, qint64 to, QList<Record> *samples, QList<Record> *alarms, QList<Record> *stops)
{
    QList<QVariantList> s;
    QList<QVariantList> a;
    QList<QVariantList> p;
    // An acknowledgement leaves the alarm standing: the event before it tells. Stops do not
    // overlap: only the last one begun before the span can reach into it.
    if (!load(QStringLiteral("job, running, online, pieces, alarm"), QStringLiteral("samples"), QString(), machine, from, to, &s)
        || !load(QStringLiteral("job, event"), QStringLiteral("alarms"),
                 QStringLiteral(" AND event <> %1").arg(int(Record::Acknowledged)), machine, from, to, &a)
        || !load(QStringLiteral("end_t, alarm, code, planned"),
                 QStringLiteral("(SELECT machine, start_t AS t, end_t, alarm, code, planned FROM stops) x"), QString(), machine, from, to, &p))
        return false;
    for (const QVariantList &v : p) {
        Record r;
        r.kind = Record::Stop;
        r.t = v[0].toLongLong();
        r.end = v[1].toLongLong();
        r.alarm = v[2].toInt() ? 0 : -1;
        r.code = v[3].isNull() ? -1 : v[3].toInt();
        r.planned = v[4].toInt();
        stops->append(r);
    }
    for (const QVariantList &v : s) {
        Record r;
        r.t = v[0].toLongLong();
        r.job = v[1].toString(); // the job's id: summaries keep ids
        r.running = v[2].toInt();
        r.online = v[3].toInt();
        r.pieces = v[4].toInt();
        r.alarm = v[5].isNull() ? -1 : v[5].toInt();
        samples->append(r);
    }
    for (const QVariantList &v : a) {
        Record r;
        r.kind = Record::Alarm;
        r.t = v[0].toLongLong();
        r.job = v[1].toString();
        r.event = v[2].toInt();
        alarms->append(r);
    }
    return true;
}

bool ShiftStore::plan(qint64 nowMs)
{
    QSqlQuery q(db_->db());
    if (!planChecked_) {
        if (setting(QStringLiteral("shift_plan")) != plan_.text()) {
            // New shift times: sum again all that the samples still cover.
            if (!q.exec(QStringLiteral("SELECT MIN(t) FROM samples")) || !q.next())
                return false;
            const qint64 from = q.value(0).isNull() ? plan_.at(nowMs).start : plan_.at(q.value(0).toLongLong()).start;
            q.prepare(QStringLiteral("DELETE FROM shift_summaries WHERE end_t > ?"));
            q.addBindValue(from);
            if (!q.exec() || !setting(QStringLiteral("summarized_until"), QString::number(from))
                || !setting(QStringLiteral("shift_plan"), plan_.text()))
                return false;
        }
        planChecked_ = true;
    }
    const qint64 until = setting(QStringLiteral("summarized_until")).toLongLong();
    QList<int> machines;
    if (!q.exec(QStringLiteral("SELECT id FROM machines ORDER BY id")))
        return false;
    while (q.next())
        machines.append(q.value(0).toInt());
    QList<ShiftPlan::Shift> shifts;
    for (const ShiftPlan::Shift &s : plan_.between(until, nowMs))
        if (s.end <= nowMs)
            shifts.append(s);
    const bool openDue = nowMs - openDoneMs_ >= kOpenRefreshMs;
    if (openDue) {
        shifts.append(plan_.at(nowMs));
        openDoneMs_ = nowMs;
    }
    for (const ShiftPlan::Shift &s : shifts)
        for (int m : machines)
            due_.append({m, s});
    due_ += redo_;
    redo_.clear();
    if (!shifts.isEmpty() && shifts.first().end <= nowMs)
        pendingUntil_ = plan_.at(nowMs).start;
    return true;
}

bool ShiftStore::summarize(const Due &d, qint64 nowMs, Summed *out)
{
    // The open shift goes on from what was summed before; a closed one is summed whole, once.
    const qint64 to = qMin(d.shift.end, nowMs);
    *out = Summed{d.machine, d.shift, {}, true};
    if (d.shift.end > nowMs && open_.advance(d.machine, d.shift, to, &out->figures)) {
        out->whole = false; // its jobs' rows stand: sums only grow
        return true;
    }
    QList<Record> samples;
    QList<Record> alarms;
    QList<Record> stops;
    // The open shift's rows all: those after `to` written already come no more.
    if (!read(d.machine, d.shift.start, d.shift.end <= nowMs ? to : Record::kOpen, &samples, &alarms, &stops))
        return false;
    if (!samples.isEmpty())
        out->figures = ShiftFigures::compute(samples, alarms, stops, d.shift.start, to);
    if (d.shift.end > nowMs)
        open_.keep(d.machine, d.shift, to, samples, alarms, stops, out->figures);
    return true;
}

bool ShiftStore::store(const QList<Summed> &batch)
{
    // A few statements for hundreds of machine-shifts: a statement each kept the open shift of
    // 5,000 machines on PostgreSQL over a minute behind. Only numbers go into the text. A
    // machine-shift twice in a batch (a late reason's redo) is written once, as summed last.
    QMap<qint64, QStringList> whole; // shift start: the machines summed whole, their rows replaced
    QStringList rows;
    QSet<QPair<int, qint64>> seen;
    const auto s = [](qint64 ms) { return QString::number((ms + 500) / 1000); };
    for (auto d = batch.crbegin(); d != batch.crend(); ++d) {
        if (seen.contains({d->machine, d->shift.start}))
            continue;
        seen.insert({d->machine, d->shift.start});
        if (d->whole)
            whole[d->shift.start].append(QString::number(d->machine));
        for (auto it = d->figures.cbegin(); it != d->figures.cend(); ++it) {
            const ShiftFigures::Figures &f = it.value();
            rows.append(QLatin1Char('(') + QStringList{QString::number(d->machine), QString::number(d->shift.start),
                                                         QString::number(d->shift.end), QString::number(it.key().toInt()),
                                                         QString::number(f.pieces), s(f.knittingMs), s(f.stoppedMs), s(f.noDataMs),
                                                         QString::number(f.alarms), s(f.alarmMs), s(f.plannedStopMs),
                                                         s(f.unplannedStopMs), s(f.unexplainedStopMs)}
                                                  .join(QLatin1Char(','))
                        + QLatin1Char(')'));
        }
    }
    QSqlQuery q(db_->db());
    for (auto it = whole.cbegin(); it != whole.cend(); ++it)
        if (!q.exec(QStringLiteral("DELETE FROM shift_summaries WHERE start_t = %1 AND machine IN (%2)")
                        .arg(it.key())
                        .arg(it.value().join(QLatin1Char(',')))))
            return false;
    for (qsizetype i = 0; i < rows.size(); i += kRowsAStatement)
        if (!q.exec(QStringLiteral("INSERT INTO shift_summaries (machine, start_t, end_t, job, pieces, knitting_s, stopped_s, nodata_s,"
                                   " alarms, alarm_s, planned_stop_s, unplanned_stop_s, unexplained_stop_s) VALUES %1"
                                   " ON CONFLICT (machine, start_t, job) DO UPDATE SET end_t = excluded.end_t,"
                                   " pieces = excluded.pieces, knitting_s = excluded.knitting_s, stopped_s = excluded.stopped_s,"
                                   " nodata_s = excluded.nodata_s, alarms = excluded.alarms, alarm_s = excluded.alarm_s,"
                                   " planned_stop_s = excluded.planned_stop_s, unplanned_stop_s = excluded.unplanned_stop_s,"
                                   " unexplained_stop_s = excluded.unexplained_stop_s")
                        .arg(rows.mid(i, kRowsAStatement).join(QLatin1Char(',')))))
            return false;
    return true;
}

void ShiftStore::reset()
{
    // Planned again from what the database says once it answers, with statements prepared afresh.
    due_.clear();
    preparedFor_ = -1;
    planChecked_ = false;
    openDoneMs_ = 0;
    pendingUntil_ = 0;
    open_.clear();
}

bool ShiftStore::step(qint64 nowMs, int budget)
{
    if (!db_->isOpen())
        return false;
    if (due_.isEmpty() && !plan(nowMs)) {
        due_.clear();
        planChecked_ = false;
        return false;
    }
    QElapsedTimer spent;
    spent.start();
    // One transaction a step: PostgreSQL's commit waits for its disk.
    QSqlDatabase &db = db_->db();
    bool ok = db.transaction();
    int done = 0;
    QList<Summed> batch;
    for (; ok && done < budget && done < due_.size() && !spent.hasExpired(kStepMs); ++done) {
        batch.append(Summed{});
        ok = summarize(due_[done], nowMs, &batch.last());
    }
    if (!ok || !store(batch) || !db.commit()) {
        db.rollback();
        reset();
        return false;
    }
    due_.remove(0, done);
    // The closed shifts count as summed once all of them are.
    if (due_.isEmpty() && pendingUntil_ > 0) {
        if (!setting(QStringLiteral("summarized_until"), QString::number(pendingUntil_)))
            return false;
        pendingUntil_ = 0;
    }
    return true;
}

bool ShiftStore::catchUp(qint64 nowMs)
{
    openDoneMs_ = 0;
    do {
        if (!step(nowMs, 1000))
            return false;
    } while (!due_.isEmpty());
    return true;
}

bool ShiftStore::rows(qint64 from, qint64 to, const QString &machine, bool floor, QList<Row> *out)
{
    // Summed by the database per shift (and machine): a year of the floor is a few hundred
    // rows to read, not one per machine, shift and job. The expected pieces take each job's
    // best pace over the kPaceDaysMs before `to`.
    const QString name = floor ? QStringLiteral("''") : QStringLiteral("m.name");
    const QString by = floor ? QStringLiteral("s.start_t") : QStringLiteral("s.start_t, m.name");
    QSqlQuery q(db_->db());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1, s.start_t, MAX(s.end_t), SUM(s.pieces), SUM(s.knitting_s), SUM(s.stopped_s), SUM(s.nodata_s),"
                             " SUM(s.alarms), SUM(s.alarm_s), SUM(COALESCE(b.pace, 0) * s.knitting_s),"
                             " SUM(s.planned_stop_s), SUM(s.unplanned_stop_s), SUM(s.unexplained_stop_s)"
                             " FROM shift_summaries s JOIN machines m ON m.id = s.machine"
                             " LEFT JOIN (SELECT job, MAX(pieces * 1.0 / knitting_s) AS pace FROM shift_summaries"
                             " WHERE end_t > ? AND end_t <= ? AND knitting_s >= ? GROUP BY job) b ON b.job = s.job"
                             " WHERE s.start_t >= ? AND s.start_t < ?%2 GROUP BY %3 ORDER BY %3")
                  .arg(name, machine.isEmpty() ? QString() : QStringLiteral(" AND m.name = ?"), by));
    for (const QVariant &v : QVariantList{to - kPaceDaysMs, plan_.at(to).end, kMinPaceKnittingS, from, to})
        q.addBindValue(v);
    if (!machine.isEmpty())
        q.addBindValue(machine);
    if (!q.exec())
        return false;
    out->clear();
    while (q.next()) {
        Row r{q.value(0).toString(), q.value(1).toLongLong(), q.value(2).toLongLong(), {}, q.value(9).toDouble()};
        r.f.pieces = q.value(3).toLongLong();
        r.f.knittingMs = q.value(4).toLongLong() * 1000;
        r.f.stoppedMs = q.value(5).toLongLong() * 1000;
        r.f.noDataMs = q.value(6).toLongLong() * 1000;
        r.f.alarms = q.value(7).toLongLong();
        r.f.alarmMs = q.value(8).toLongLong() * 1000;
        r.f.plannedStopMs = q.value(10).toLongLong() * 1000;
        r.f.unplannedStopMs = q.value(11).toLongLong() * 1000;
        r.f.unexplainedStopMs = q.value(12).toLongLong() * 1000;
        out->append(r);
    }
    return true;
}

void ShiftStore::redo(int machine, qint64 from, qint64 to, qint64 nowMs)
{
    const QList<ShiftPlan::Shift> shifts = plan_.between(from, qMax(from + 1, qMin(to, nowMs)));
    for (int i = 0; i < shifts.size() && i < 62; ++i)
        if (shifts[i].end <= nowMs)
            redo_.append({machine, shifts[i]});
}

qint64 ShiftStore::summarizedUntil()
{
    return db_->isOpen() ? setting(QStringLiteral("summarized_until")).toLongLong() : 0;
}
