#pragma once
// bench/dashboard's week: a week of the floor's shift summaries read from them, against the
// same figures summed from raw samples.
#include "dashboardload.h"

#include "dashboard/dashboard.h"
#include "dashboard/isotime.h"

#include <QElapsedTimer>
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
    q.prepare(QStringLiteral("INSERT INTO shift_summaries VALUES (?, ?, ?, 1, ?, ?, ?, 0, ?, ?)"));
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
    return ok && d.commit();
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


} // namespace DashboardBench
