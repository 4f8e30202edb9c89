#pragma once
// bench/dashboard's week and year: a week of the floor's shift summaries read from them, against
// the same figures summed from raw samples; a 400-day alarm Pareto of the floor (1.8 million
// events of 500 machines) read from the per-shift Paretos, against grouping every event at once.
#include "dashboardload.h"

#include "dashboard/dashboard.h"
#include "dashboard/isotime.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace DashboardBench {

// A week of shift summaries for the whole floor, and raw samples for a few machines.
inline bool makeWeek(FleetDb &db, int machines, int rawMachines, qint64 weekStart, const ShiftPlan &plan)
{
    QSqlDatabase &d = db.db();
    QSqlQuery q(d);
    bool ok = d.transaction();
    q.prepare(QStringLiteral("INSERT INTO machines (id, name) VALUES (?, ?)"));
    for (int m = 1; ok && m <= machines; ++m) {
        q.addBindValue(m);
        q.addBindValue(machineId(m));
        ok = q.exec();
    }
    ok = ok && q.exec(QStringLiteral("INSERT INTO jobs (id, name) VALUES (1, 'M1')"));
    q.prepare(QStringLiteral("INSERT INTO shift_summaries (machine, start_t, end_t, job, pieces, knitting_s, stopped_s, nodata_s,"
                             " alarms, alarm_s) VALUES (?, ?, ?, 1, ?, ?, ?, 0, ?, ?)"));
    for (const ShiftPlan::Shift &s : plan.between(weekStart, weekStart + 7 * kDayMs))
        for (int m = 1; ok && m <= machines; ++m) {
            for (const QVariant &v : QVariantList{m, s.start, s.end, 100 + m % 17, 36000, 7200, 3, 600})
                q.addBindValue(v);
            ok = q.exec();
        }
    q.prepare(QStringLiteral("INSERT INTO samples VALUES (?, ?, 0, 1, 1, 1, ?, 500, NULL)"));
    for (int m = 1; ok && m <= rawMachines; ++m)
        for (qint64 t = weekStart; ok && t < weekStart + 7 * kDayMs; t += 10000) {
            q.addBindValue(m);
            q.addBindValue(t);
            q.addBindValue(int((t - weekStart) / 60000));
            ok = q.exec();
        }
    ok = ok && d.commit();
    if (!ok)
        std::printf("a week of per-shift history left out: %s\n", qPrintable(q.lastError().text()));
    return ok;
}


// A week of the floor's shifts, from the summaries against summing raw samples.
inline void weekOfShifts(QTemporaryDir &dir, int machines)
{
    QString why;
    DbTarget weekTarget;
    weekTarget.path = dir.filePath(QStringLiteral("week.sqlite"));
    Dashboard::Options wo;
    wo.db = weekTarget;
    Dashboard week(wo);
    const int rawMachines = 10;
    const qint64 weekStart = week.shifts().plan().at(QDateTime::currentMSecsSinceEpoch() - 8 * kDayMs).start;
    if (!week.open(&why) || !makeWeek(week.db(), machines, rawMachines, weekStart, wo.shifts))
        return;
    QUrlQuery range;
    range.addQueryItem(QStringLiteral("from"), IsoTime::text(weekStart));
    range.addQueryItem(QStringLiteral("to"), IsoTime::text(weekStart + 7 * kDayMs));
    std::vector<double> fromSummaries;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        const DashboardApi::Answer a = week.api(QStringLiteral("/api/shifts"), range, weekStart + 7 * kDayMs);
        fromSummaries.push_back(double(t.nsecsElapsed()) / 1e6);
        if (a.status != 200)
            std::printf("  /api/shifts answered %d\n", a.status);
    }
    QElapsedTimer t;
    t.start();
    for (int m = 1; m <= rawMachines; ++m)
        for (const ShiftPlan::Shift &s : wo.shifts.between(weekStart, weekStart + 7 * kDayMs)) {
            QMap<QString, ShiftFigures::Figures> f;
            week.shifts().figures(m, s.start, s.end, &f);
        }
    const double raw = double(t.nsecsElapsed()) / 1e6 * machines / rawMachines;
    std::printf("a week of per-shift history for the floor (target < 100 ms):\n"
                "  from the summaries %.1f ms (median of 5); summed from raw samples ≈ %.0f ms (%d machines timed, scaled to %d)\n",
                quantile(fromSummaries, 0.5), raw, rawMachines, machines);
}


// 400 days of alarm events, nine a machine-day, then the Paretos summed shift by shift (as
// knitfleet does when each shift closes) and the year's read from them.
inline void yearOfParetos(QTemporaryDir &dir, int machines)
{
    QString why;
    Dashboard::Options yo;
    yo.db.path = dir.filePath(QStringLiteral("year.sqlite"));
    Dashboard year(yo);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    // The API takes at most 400 days: from the end of the shift 400 days back.
    const qint64 from = yo.shifts.at(now - 400 * kDayMs).end;
    if (!year.open(&why))
        return;
    QSqlDatabase &d = year.db().db();
    QSqlQuery q(d);
    bool ok = d.transaction() && q.exec(QStringLiteral("INSERT INTO jobs (id, name) VALUES (1, 'M1')"));
    q.prepare(QStringLiteral("INSERT INTO machines (id, name) VALUES (?, ?)"));
    for (int m = 1; ok && m <= machines; ++m) {
        q.addBindValue(m);
        q.addBindValue(machineId(m));
        ok = q.exec();
    }
    q.prepare(QStringLiteral("INSERT INTO alarms VALUES (?, ?, 0, ?, ?, 2, ?, 'alarm', 1, 0, 0)"));
    qint64 events = 0;
    for (int m = 1; ok && m <= machines; ++m)
        for (qint64 day = from; ok && day < now - kDayMs; day += kDayMs)
            for (int k = 0; ok && k < 9; ++k, ++events) {
                const qint64 t = day + (m * 7919 + k * 9600000LL) % kDayMs / 9 * 9 + k;
                for (const QVariant &v : QVariantList{m, t, QString::number(t), k == 8 ? 2 : k % 2 ? 3 : 1, 20 + (m + k) % 30})
                    q.addBindValue(v);
                ok = q.exec();
            }
    QSqlQuery set(d);
    ok = ok && set.exec(QStringLiteral("INSERT INTO settings VALUES ('summarized_until', '%1')").arg(yo.shifts.at(now).start)) && d.commit();
    if (!ok) {
        std::printf("a year's Pareto left out: %s\n", qPrintable(q.lastError().text()));
        return;
    }
    QElapsedTimer t;
    t.start();
    int shifts = 0;
    while (year.paretos().step(yo.shifts.at(now).start))
        ++shifts;
    const double summing = double(t.elapsed());
    QUrlQuery range;
    range.addQueryItem(QStringLiteral("from"), IsoTime::text(from));
    range.addQueryItem(QStringLiteral("to"), IsoTime::text(now));
    std::vector<double> read, grouped;
    for (int i = 0; i < 3; ++i) {
        t.restart();
        const DashboardApi::Answer a = year.api(QStringLiteral("/api/alarms/pareto"), range, now);
        read.push_back(double(t.nsecsElapsed()) / 1e6);
        if (a.status != 200 || !a.body.contains("\"count\""))
            std::printf("  /api/alarms/pareto answered %d: %s\n", a.status, a.body.left(200).constData());
        // The same figures grouped from every event in one statement.
        t.restart();
        QSqlQuery all(d);
        all.exec(QStringLiteral("SELECT type, code, COUNT(*), SUM(COALESCE(next_t, %1) - t) FROM (SELECT event, type, code, t,"
                                " LEAD(t) OVER (PARTITION BY machine ORDER BY t) AS next_t FROM alarms WHERE t >= %2 AND event <> 2) e"
                                " WHERE event = 1 GROUP BY type, code ORDER BY 3 DESC").arg(now).arg(from));
        while (all.next()) {
        }
        grouped.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("a 400-day alarm Pareto of %d machines, %lld events (per-shift Paretos summed once, as shifts close):\n"
                "  read from the per-shift Paretos %.0f ms, grouped from every event %.0f ms, ratio %.3f (median of 3); summing"
                " %d shifts took %.1f s (%.0f ms a shift)\n",
                machines, events, quantile(read, 0.5), quantile(grouped, 0.5), quantile(read, 0.5) / qMax(1.0, quantile(grouped, 0.5)),
                shifts, summing / 1000, summing / qMax(1, shifts));
}

} // namespace DashboardBench
