#pragma once

#include "shiftfigures.h"
#include "shiftplan.h"

#include <QHash>
#include <QList>
#include <QMap>

// The open shift's figures of each machine, carried forward as rows are written: what was summed
// up to a time, the last sample and alarm event before it, the rows written since and the stops
// that reach into the shift. Summing the open shift again then reads nothing: it adds what came
// since (the figures add up over consecutive spans). A reason for a stop, a new shift or a
// database that failed sends a machine back to a full sum from the database.
class OpenShifts
{
public:
    using Sums = QMap<QString, ShiftFigures::Figures>;

    // The machine's figures for [shift.start, to) from what was kept; false when it must be
    // summed from the database.
    bool advance(int machine, const ShiftPlan::Shift &shift, qint64 to, Sums *out);
    // After a full sum of [shift.start, to): the rows it read (oldest first) and what it found.
    void keep(int machine, const ShiftPlan::Shift &shift, qint64 to, const QList<Record> &samples, const QList<Record> &alarms,
              const QList<Record> &stops, const Sums &sums);
    // A row written (job: its id).
    void written(int machine, int job, const Record &row);
    void clear() { machines_.clear(); }

private:
    struct Open
    {
        qint64 shiftStart = 0;
        qint64 doneT = 0;
        Sums sums;
        QList<Record> samples; // the last one before doneT, then those since
        QList<Record> alarms;  // likewise, acknowledgements left out
        QList<Record> stops;
    };
    // The last row before t and those from t on.
    static QList<Record> from(const QList<Record> &rows, qint64 t);

    QHash<int, Open> machines_;
};
