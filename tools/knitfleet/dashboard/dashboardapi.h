#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QUrlQuery>

class Dashboard;
class FleetDb;
class HistoryQueries;
class ParetoStore;
class ShiftStore;

// The JSON API's answers (and their CSV with format=csv), worked out without HTTP:
// /api/machines, /api/machines/<id>/samples, /api/machines/<id>/alarms, /api/shifts,
// /api/alarms/pareto, /api/stops/pareto, /api/alerts, /api/audit and /api/health. Bad parameters give 400, an unknown path or machine 404,
// a database that does not answer 503, each as {"error":"..."}. A machine's samples come a
// page (HistoryQueries::kMaxSamples) at a time, with the next page's path.
class DashboardApi
{
public:
    static constexpr qint64 kMaxSpanMs = 400LL * 86400 * 1000;
    static constexpr int kMaxAlarms = 1000;

    struct Answer
    {
        int status = 200;
        QByteArray type;
        QByteArray body;
        QByteArray next; // the path of the page after this one, if any
    };

    // Where the answers come from. The live picture and the health are the event loop's; a
    // reader on a thread of its own (ApiReader) has a connection of its own and no live parts.
    struct Sources
    {
        FleetDb *db = nullptr;
        HistoryQueries *history = nullptr;
        ShiftStore *shifts = nullptr;
        ParetoStore *paretos = nullptr;
        const Dashboard *live = nullptr;
    };

    explicit DashboardApi(const Sources &sources);
    Answer answer(const QString &path, const QUrlQuery &query, qint64 nowMs);
    // Whether the path's answer is read from the database (and may take long).
    static bool stored(const QString &path);

    // The query's from and to (ISO 8601), defaulting to [nowMs - defaultSpanMs, nowMs); false
    // with a reason for a bad time, to before from, or a span over kMaxSpanMs.
    static bool span(const QUrlQuery &query, qint64 nowMs, qint64 defaultSpanMs, qint64 *from, qint64 *to, QString *why);
    static Answer error(int status, const QString &why);

private:
    Answer machines(bool csv, qint64 nowMs);
    Answer samples(const QString &machine, const QUrlQuery &query, bool csv, qint64 nowMs);
    Answer alarms(const QString &machine, const QUrlQuery &query, bool csv);
    Answer shifts(const QUrlQuery &query, bool csv, qint64 nowMs);
    Answer pareto(const QUrlQuery &query, bool csv, qint64 nowMs, bool stops);
    Answer alerts(bool csv);
    Answer audit(const QUrlQuery &query, bool csv, qint64 nowMs);
    Answer health();
    // The machine's id, or an error answer in *fail.
    int machineId(const QString &name, Answer *fail);
    struct Span
    {
        qint64 from = 0;
        qint64 to = 0;
        Answer fail; // status 0 when the span is good, else the 400 answer
    };
    static Span span(const QUrlQuery &query, qint64 nowMs, qint64 defaultSpanMs);
    // A table as CSV of the columns, or as the JSON object `head` with the rows under `key`.
    static Answer table(bool asCsv, const QStringList &columns, const QJsonArray &rows, const QString &key,
                        QJsonObject head = QJsonObject());
    static Answer unavailable();

    const Sources d_;
};
