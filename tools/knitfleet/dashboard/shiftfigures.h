#pragma once

#include "record.h"

#include <QList>
#include <QMap>

// A machine's figures for one span of time (a shift), from its stored samples and alarm
// events, split by job. Each sample holds until the next, for at most kSilentMs: beyond that,
// and while the machine is offline, time counts as no data. Pieces are the sum of increases
// within a job: a counter that goes down was reset, a new job starts from its own count, and
// neither is ever negative output. An alarm stands from raised until cleared or replaced.
// Stopped time is planned or unplanned by the reason of the stop it belongs to; without a reason
// a stop that saw an alarm is unplanned, any other unexplained.
class ShiftFigures
{
public:
    static constexpr qint64 kSilentMs = 60000;

    struct Figures
    {
        qint64 pieces = 0;
        qint64 knittingMs = 0;
        qint64 stoppedMs = 0;
        qint64 noDataMs = 0;
        qint64 alarms = 0;
        qint64 alarmMs = 0;
        qint64 plannedStopMs = 0;
        qint64 unplannedStopMs = 0;
        qint64 unexplainedStopMs = 0;
        Figures &operator+=(const Figures &o);
    };

    // samples and alarms of one machine, oldest first; each list may start with the last one
    // before from (it says how the span began). Figures by job name.
    // stops: the machine's stops that overlap the span, oldest first.
    static QMap<QString, Figures> compute(const QList<Record> &samples, const QList<Record> &alarms, const QList<Record> &stops,
                                          qint64 from, qint64 to);
    // Knitting over knitting and stopped less planned stops; 0 when neither.
    static double availability(const Figures &f);

private:
    static qint64 overlap(qint64 a, qint64 b, qint64 from, qint64 to);
    // Where a stopped sample's time goes: to the class of the stop it belongs to.
    static qint64 &stopClass(Figures &f, const Record &sample, const QList<Record> &stops);
};
