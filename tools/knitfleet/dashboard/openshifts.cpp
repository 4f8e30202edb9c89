#include "openshifts.h"

#include <algorithm>

QList<Record> OpenShifts::from(const QList<Record> &rows, qint64 t)
{
    const auto first = std::find_if(rows.begin(), rows.end(), [t](const Record &r) { return r.t >= t; });
    return rows.mid(std::max<qsizetype>(0, (first - rows.begin()) - 1));
}

bool OpenShifts::advance(int machine, const ShiftPlan::Shift &shift, qint64 to, Sums *out)
{
    const auto it = machines_.find(machine);
    if (it == machines_.end() || it->shiftStart != shift.start || to < it->doneT)
        return false;
    Open &o = *it;
    if (!o.samples.isEmpty() && to > o.doneT) {
        const Sums more = ShiftFigures::compute(o.samples, o.alarms, o.stops, o.doneT, to);
        for (auto m = more.cbegin(); m != more.cend(); ++m)
            o.sums[m.key()] += m.value();
    }
    o.samples = from(o.samples, to);
    o.alarms = from(o.alarms, to);
    o.doneT = to;
    *out = o.sums;
    return true;
}

void OpenShifts::keep(int machine, const ShiftPlan::Shift &shift, qint64 to, const QList<Record> &samples, const QList<Record> &alarms,
                      const QList<Record> &stops, const Sums &sums)
{
    machines_.insert(machine, Open{shift.start, to, sums, from(samples, to), from(alarms, to), stops});
}

void OpenShifts::written(int machine, int job, const Record &row)
{
    const auto it = machines_.find(machine);
    if (it == machines_.end())
        return;
    Record r = row;
    r.job = QString::number(job); // summaries keep job ids
    if (r.kind == Record::Sample) {
        it->samples.append(r);
    } else if (r.kind == Record::Alarm) {
        if (r.event != Record::Acknowledged)
            it->alarms.append(r);
    } else if (r.code >= 0) {
        // A reason may change how time already summed counts.
        machines_.erase(it);
    } else {
        const auto same = std::find_if(it->stops.begin(), it->stops.end(), [&r](const Record &s) { return s.t == r.t; });
        if (same != it->stops.end())
            *same = r;
        else
            it->stops.append(r);
    }
}
