#include "stopbook.h"

#include <algorithm>

bool StopBook::sample(const Record &s, Record *row)
{
    if (!s.online)
        return false;
    Record *open = stops_.empty() || stops_.back().end != Record::kOpen ? nullptr : &stops_.back();
    if (s.running) {
        if (!open)
            return false;
        open->end = s.t;
    } else if (!open) {
        Record r;
        r.kind = Record::Stop;
        r.machine = s.machine;
        r.t = s.t;
        r.job = s.job;
        r.alarm = s.alarm;
        r.code = -1;
        if (stops_.size() >= std::size_t(kKept))
            stops_.pop_front();
        stops_.push_back(r);
        open = &stops_.back();
    } else if (s.alarm < 0 || open->alarm >= 0) {
        return false;
    } else {
        open->alarm = s.alarm;
    }
    *row = stops_.back();
    return true;
}

StopBook::Pick StopBook::reason(const MessageCheck::Stop &pick, qint64 placedMs, Record *row)
{
    // The latest stop that began no later than the slack after the placed time, if it still
    // stood then.
    const auto it = std::find_if(stops_.rbegin(), stops_.rend(), [placedMs](const Record &r) { return r.t <= placedMs + kSlackMs; });
    if (it == stops_.rend() || it->end <= placedMs - kSlackMs)
        return Pick::Refused;
    Record &stop = *it;
    // Panel times are ISO texts of one width: they sort as they read.
    if (stop.code >= 0 && stop.panelTime >= pick.time && !(stop.panelTime == pick.time && stop.code != pick.code))
        return Pick::Same;
    stop.code = pick.code;
    stop.planned = pick.planned;
    stop.text = pick.text;
    stop.panelTime = pick.time;
    *row = stop;
    return Pick::Taken;
}

void StopBook::seed(const Record &row)
{
    if (stops_.size() >= std::size_t(kKept))
        stops_.pop_front();
    stops_.push_back(row);
}

const Record *StopBook::standing() const
{
    return stops_.empty() || stops_.back().end != Record::kOpen ? nullptr : &stops_.back();
}
