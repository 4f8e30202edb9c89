#pragma once

#include "shiftplan.h"

#include <QList>
#include <QString>

class FleetDb;

// The floor's two Paretos per shift, summed once a shift is over and kept (pareto_summaries), so
// a year's Pareto adds a few rows a shift instead of grouping every event: the alarms (raised in
// the shift, and the time they stood in it) and the stops (begun in the shift, and the time they
// stood in it) by reason, with "alarm" and "unexplained" for those without one. Shifts not
// summed yet (the open one) are summed when asked. A reason that comes late sums its shifts again.
class ParetoStore
{
public:
    enum Kind { Alarms = 0, Stops = 1 };
    static constexpr int kAlarmStop = -1;       // a stop without a reason that saw an alarm
    static constexpr int kUnexplainedStop = -2; // one that saw neither
    static constexpr int kMaxLiveShifts = 62;

    struct Row
    {
        int kind = Alarms;
        int type = 0;
        int code = 0;
        bool planned = false;
        QString text;
        qint64 count = 0;
        qint64 seconds = 0;
    };

    ParetoStore(FleetDb *db, const ShiftPlan &plan);
    // Sums the next shift due (one a call); false when there was nothing to do or it failed.
    bool step(qint64 summarizedUntil);
    // The shifts over by nowMs that [from, to) touches are summed again.
    void redo(qint64 from, qint64 to, qint64 nowMs);
    // The kind's rows for the shifts that start in [from, to), summed per reason; the time of a
    // shift not over yet counts until nowMs. Most seconds first for stops, most often first for
    // alarms.
    bool read(Kind kind, qint64 from, qint64 to, qint64 nowMs, QList<Row> *out);

private:
    bool sum(const ShiftPlan::Shift &shift, qint64 until, QList<Row> *out);
    bool sumAlarms(const ShiftPlan::Shift &shift, qint64 until, QList<Row> *out);
    bool sumStops(const ShiftPlan::Shift &shift, qint64 until, QList<Row> *out);
    bool store(const ShiftPlan::Shift &shift);
    qint64 until();

    FleetDb *const db_;
    const ShiftPlan plan_;
    QList<qint64> redo_; // shift starts to sum again
};
