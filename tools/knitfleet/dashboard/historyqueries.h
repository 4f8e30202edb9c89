#pragma once

#include "record.h"

#include <QList>
#include <QString>

class FleetDb;

// What the pages read besides the shift summaries: a machine's samples and alarm events, and
// the alarm Pareto of the floor (how often each alarm was raised and how long it stood).
class HistoryQueries
{
public:
    static constexpr int kMaxSamples = 100000;

    struct ParetoRow
    {
        int type = 0;
        int code = 0;
        QString text;
        qint64 count = 0;
        qint64 standingMs = 0;
    };

    explicit HistoryQueries(FleetDb *db);
    // The machine's id, 0 when it was never recorded, -1 when the database fails.
    int machine(const QString &name);
    // Samples in [from, to), oldest first, at most kMaxSamples.
    bool samples(int machine, qint64 from, qint64 to, QList<Record> *out);
    // The newest `limit` events, newest first.
    bool alarms(int machine, int limit, QList<Record> *out);
    // Most often raised first.
    bool pareto(qint64 from, qint64 to, QList<ParetoRow> *out);

private:
    FleetDb *const db_;
};
