#pragma once

#include "record.h"

#include <QList>
#include <QString>
#include <QVariantList>

#include <functional>

class FleetDb;
class QSqlQuery;

// What the pages read besides the shift and Pareto summaries: a machine's samples (a page at a
// time) and alarm events.
class HistoryQueries
{
public:
    static constexpr int kMaxSamples = 10000;

    explicit HistoryQueries(FleetDb *db);
    // The machine's id, 0 when it was never recorded, -1 when the database fails.
    int machine(const QString &name);
    // Samples in [from, to), oldest first, at most kMaxSamples; *more when others follow.
    bool samples(int machine, qint64 from, qint64 to, QList<Record> *out, bool *more);
    // The newest `limit` events, newest first.
    bool alarms(int machine, int limit, QList<Record> *out);

private:
    // Sets one field of a record from one column.
    using Field = void (*)(Record &, const QVariant &);
    // Runs the statement with its values bound and hands each row to `row`.
    bool rows(const QString &sql, const QVariantList &values, const std::function<void(const QSqlQuery &)> &row);
    // The rows as records of the kind, the columns read into the fields in order.
    bool records(const QString &sql, const QVariantList &values, Record::Kind kind, const QList<Field> &fields, QList<Record> *out);

    FleetDb *const db_;
};
