#include "shiftfigures.h"

#include <algorithm>

ShiftFigures::Figures &ShiftFigures::Figures::operator+=(const Figures &o)
{
    pieces += o.pieces;
    knittingMs += o.knittingMs;
    stoppedMs += o.stoppedMs;
    noDataMs += o.noDataMs;
    alarms += o.alarms;
    alarmMs += o.alarmMs;
    plannedStopMs += o.plannedStopMs;
    unplannedStopMs += o.unplannedStopMs;
    unexplainedStopMs += o.unexplainedStopMs;
    return *this;
}

qint64 ShiftFigures::overlap(qint64 a, qint64 b, qint64 from, qint64 to)
{
    return std::max<qint64>(0, std::min(b, to) - std::max(a, from));
}

qint64 &ShiftFigures::stopClass(Figures &f, const Record &sample, const QList<Record> &stops)
{
    const auto stop = std::find_if(stops.rbegin(), stops.rend(), [&sample](const Record &s) { return s.t <= sample.t; });
    const bool in = stop != stops.rend() && sample.t < stop->end;
    if (in && stop->code >= 0)
        return stop->planned ? f.plannedStopMs : f.unplannedStopMs;
    return (in && stop->alarm >= 0) || sample.alarm >= 0 ? f.unplannedStopMs : f.unexplainedStopMs;
}

QMap<QString, ShiftFigures::Figures> ShiftFigures::compute(const QList<Record> &samples, const QList<Record> &alarms,
                                                           const QList<Record> &stops, qint64 from, qint64 to)
{
    QMap<QString, Figures> out;
    if (to <= from)
        return out;
    // Before the first sample nothing is known.
    const qint64 first = samples.isEmpty() ? to : samples.first().t;
    out[samples.isEmpty() ? QString() : samples.first().job].noDataMs += overlap(from, first, from, to);
    for (int i = 0; i < samples.size(); ++i) {
        const Record &s = samples[i];
        const qint64 next = i + 1 < samples.size() ? samples[i + 1].t : std::max(to, s.t);
        const qint64 heard = std::min(next, s.t + kSilentMs);
        Figures &f = out[s.job];
        const qint64 known = overlap(s.t, heard, from, to);
        (s.online ? (s.running ? f.knittingMs : f.stoppedMs) : f.noDataMs) += known;
        if (s.online && !s.running)
            stopClass(f, s, stops) += known;
        f.noDataMs += overlap(heard, next, from, to);
        if (i > 0 && s.t >= from && s.t < to && s.job == samples[i - 1].job && s.pieces > samples[i - 1].pieces)
            f.pieces += s.pieces - samples[i - 1].pieces;
    }
    for (int i = 0; i < alarms.size(); ++i) {
        const Record &a = alarms[i];
        if (a.event != Record::Raised)
            continue;
        Figures &f = out[a.job];
        if (a.t >= from && a.t < to)
            ++f.alarms;
        qint64 end = to;
        for (int j = i + 1; j < alarms.size(); ++j) {
            if (alarms[j].event != Record::Acknowledged) {
                end = alarms[j].t;
                break;
            }
        }
        f.alarmMs += overlap(a.t, end, from, to);
    }
    // A job that only appears through an earlier sample has nothing of its own in the span.
    for (auto it = out.begin(); it != out.end();) {
        const Figures &f = it.value();
        it = f.pieces || f.knittingMs || f.stoppedMs || f.noDataMs || f.alarms || f.alarmMs ? std::next(it) : out.erase(it);
    }
    return out;
}

double ShiftFigures::availability(const Figures &f)
{
    const qint64 counted = f.knittingMs + f.stoppedMs - f.plannedStopMs;
    return counted > 0 ? double(f.knittingMs) / double(counted) : 0.0;
}
