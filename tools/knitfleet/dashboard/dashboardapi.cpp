#include "dashboardapi.h"

#include "auditlog.h"
#include "csvtable.h"
#include "dashboard.h"
#include "isotime.h"
#include "paretostore.h"

#include "telemetry/telemetryconfig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

const qint64 kDayMs = 86400LL * 1000;
const char *const kEvents[] = {"", "raised", "acknowledged", "cleared"};

DashboardApi::Answer json(const QJsonObject &o, int status = 200)
{
    return {status, "application/json", QJsonDocument(o).toJson(QJsonDocument::Compact), {}};
}

// Ratios shown as fractions with three places; none where nothing was measured.
QJsonValue ratio(double numerator, double denominator)
{
    return denominator > 0 ? QJsonValue(qRound(numerator / denominator * 1000) / 1000.0) : QJsonValue(QJsonValue::Null);
}

QString cellOf(const QJsonValue &v)
{
    return v.isNull() ? QString() : v.isString() ? v.toString() : v.isBool() ? QString::fromLatin1(v.toBool() ? "1" : "0")
                                                                                : QString::number(v.toDouble());
}

} // namespace

DashboardApi::DashboardApi(const Sources &sources)
    : d_(sources)
{
}

bool DashboardApi::stored(const QString &path)
{
    return path.startsWith(QLatin1String("/api/")) && path != QLatin1String("/api/machines") && path != QLatin1String("/api/health")
           && path != QLatin1String("/api/alerts");
}

DashboardApi::Answer DashboardApi::error(int status, const QString &why)
{
    return json(QJsonObject{{QStringLiteral("error"), why}}, status);
}

DashboardApi::Answer DashboardApi::unavailable()
{
    return error(503, QStringLiteral("the database does not answer"));
}

DashboardApi::Answer DashboardApi::table(bool asCsv, const QStringList &columns, const QJsonArray &rows, const QString &key,
                                         QJsonObject head)
{
    if (!asCsv) {
        head.insert(key, rows);
        return json(head);
    }
    CsvTable t(columns);
    for (const QJsonValue &r : rows) {
        QStringList cells;
        for (const QString &c : columns)
            cells.append(cellOf(r.toObject().value(c)));
        t.add(cells);
    }
    return {200, "text/csv; charset=utf-8", t.bytes(), {}};
}

DashboardApi::Span DashboardApi::span(const QUrlQuery &query, qint64 nowMs, qint64 defaultSpanMs)
{
    Span s;
    QString why;
    s.fail = span(query, nowMs, defaultSpanMs, &s.from, &s.to, &why) ? Answer{0, {}, {}, {}} : error(400, why);
    return s;
}

bool DashboardApi::span(const QUrlQuery &query, qint64 nowMs, qint64 defaultSpanMs, qint64 *from, qint64 *to, QString *why)
{
    const QString f = query.queryItemValue(QStringLiteral("from"), QUrl::FullyDecoded);
    const QString t = query.queryItemValue(QStringLiteral("to"), QUrl::FullyDecoded);
    *to = nowMs;
    if (!t.isEmpty() && !IsoTime::parse(t, to)) {
        *why = QStringLiteral("to: not an ISO 8601 time");
        return false;
    }
    *from = *to - defaultSpanMs;
    if (!f.isEmpty() && !IsoTime::parse(f, from)) {
        *why = QStringLiteral("from: not an ISO 8601 time");
        return false;
    }
    if (*to <= *from || *to - *from > kMaxSpanMs) {
        *why = QStringLiteral("from must be before to, at most 400 days apart");
        return false;
    }
    return true;
}

DashboardApi::Answer DashboardApi::answer(const QString &path, const QUrlQuery &query, qint64 nowMs)
{
    const QString format = query.queryItemValue(QStringLiteral("format"));
    if (!format.isEmpty() && format != QLatin1String("csv") && format != QLatin1String("json"))
        return error(400, QStringLiteral("format: csv or json"));
    const bool asCsv = format == QLatin1String("csv");
    static const QRegularExpression perMachine(QStringLiteral("^/api/machines/([^/]+)/(samples|alarms)$"));
    const QRegularExpressionMatch m = perMachine.match(path);
    if (!stored(path) && d_.live)
        return path == QLatin1String("/api/machines") ? machines(asCsv, nowMs)
               : path == QLatin1String("/api/alerts") ? alerts(asCsv)
                                                       : health();
    if (!d_.db->isOpen())
        return unavailable();
    if (m.hasMatch() && m.captured(2) == QLatin1String("samples"))
        return samples(m.captured(1), query, asCsv, nowMs);
    if (m.hasMatch())
        return alarms(m.captured(1), query, asCsv);
    if (path == QLatin1String("/api/shifts"))
        return shifts(query, asCsv, nowMs);
    if (path == QLatin1String("/api/audit"))
        return audit(query, asCsv, nowMs);
    if (path == QLatin1String("/api/alarms/pareto") || path == QLatin1String("/api/stops/pareto"))
        return pareto(query, asCsv, nowMs, path == QLatin1String("/api/stops/pareto"));
    return error(404, QStringLiteral("no such resource"));
}

DashboardApi::Answer DashboardApi::machines(bool asCsv, qint64 nowMs)
{
    const Recorder &recorder = d_.live->recorder();
    const LiveFeed &live = d_.live->live();
    QJsonArray rows;
    for (const FleetState::Machine &m : recorder.fleet().sorted()) {
        const Recorder::Extra x = recorder.extra(m.id, nowMs);
        if (asCsv) {
            QJsonObject r = live.row(m, x, nowMs);
            r.insert(QStringLiteral("reason"), x.code < 0 ? QString() : x.reason);
            rows.append(r);
            continue;
        }
        QJsonObject o = FleetState::toJson(m, nowMs);
        o.insert(QStringLiteral("eta"), live.eta(x.eta));
        o.insert(QStringLiteral("eta_in_shift"), live.etaInShift(x.eta, nowMs));
        o.insert(QStringLiteral("config_error"), x.configError.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(x.configError));
        const QJsonObject row = live.row(m, x, nowMs);
        for (const char *key : {"group", "since", "reason", "version"})
            o.insert(QLatin1String(key), row.value(QLatin1String(key)));
        rows.append(o);
    }
    if (!asCsv)
        return json(QJsonObject{{QStringLiteral("machines"), rows}});
    return table(true, {"machine", "group", "state", "job", "row", "rows", "speed", "pieces", "target", "alarm", "since", "reason", "eta",
                        "last_seen", "stale"},
                 rows, QString());
}

int DashboardApi::machineId(const QString &name, Answer *fail)
{
    if (!TelemetryConfig::isMachineId(name)) {
        *fail = error(404, QStringLiteral("no such machine"));
        return -1;
    }
    const int id = d_.history->machine(name);
    if (id <= 0)
        *fail = id < 0 ? unavailable() : error(404, QStringLiteral("no such machine"));
    return id > 0 ? id : -1;
}

DashboardApi::Answer DashboardApi::samples(const QString &machine, const QUrlQuery &query, bool asCsv, qint64 nowMs)
{
    const Span when = span(query, nowMs, kDayMs);
    Answer fail = when.fail;
    QList<Record> list;
    bool more = false;
    const int id = fail.status == 0 ? machineId(machine, &fail) : -1;
    if (id < 0)
        return fail;
    if (!d_.history->samples(id, when.from, when.to, &list, &more))
        return unavailable();
    QJsonArray rows;
    for (const Record &r : list) {
        const char *state = !r.online ? "offline" : r.alarm >= 0 ? "alarm" : r.running ? "knitting" : "stopped";
        rows.append(QJsonObject{{QStringLiteral("time"), IsoTime::text(r.t)},
                                {QStringLiteral("panel_time"), IsoTime::text(r.t + qint64(r.dt) * 1000)},
                                {QStringLiteral("state"), QLatin1String(state)},
                                {QStringLiteral("job"), r.job},
                                {QStringLiteral("pieces"), r.pieces},
                                {QStringLiteral("target"), r.target},
                                {QStringLiteral("alarm"), r.alarm >= 0 ? QJsonValue(r.alarm) : QJsonValue(QJsonValue::Null)}});
    }
    QJsonObject head{{QStringLiteral("machine"), machine}};
    QByteArray next;
    if (more) {
        next = "/api/machines/" + machine.toUtf8() + "/samples?from=" + QUrl::toPercentEncoding(IsoTime::text(list.last().t + 1, true))
               + "&to=" + QUrl::toPercentEncoding(IsoTime::text(when.to, true)) + (asCsv ? "&format=csv" : "");
        head.insert(QStringLiteral("next"), QString::fromUtf8(next));
    }
    Answer a = table(asCsv, {"time", "panel_time", "state", "job", "pieces", "target", "alarm"}, rows, QStringLiteral("samples"), head);
    a.next = next;
    return a;
}

DashboardApi::Answer DashboardApi::alarms(const QString &machine, const QUrlQuery &query, bool asCsv)
{
    bool ok = true;
    const QString limitText = query.queryItemValue(QStringLiteral("limit"));
    const int limit = limitText.isEmpty() ? 50 : limitText.toInt(&ok);
    if (!ok || limit < 1 || limit > kMaxAlarms)
        return error(400, QStringLiteral("limit: 1 to %1").arg(kMaxAlarms));
    Answer fail;
    const int id = machineId(machine, &fail);
    QList<Record> list;
    if (id < 0)
        return fail;
    if (!d_.history->alarms(id, limit, &list))
        return unavailable();
    QJsonArray rows;
    for (const Record &r : list)
        rows.append(QJsonObject{{QStringLiteral("time"), IsoTime::text(r.t)},
                                {QStringLiteral("panel_time"), r.panelTime},
                                {QStringLiteral("event"), QLatin1String(kEvents[qBound(0, r.event, 3)])},
                                {QStringLiteral("type"), r.type},
                                {QStringLiteral("code"), r.code},
                                {QStringLiteral("text"), r.text},
                                {QStringLiteral("job"), r.job},
                                {QStringLiteral("row"), r.row},
                                {QStringLiteral("pieces"), r.pieces}});
    return table(asCsv, {"time", "panel_time", "event", "type", "code", "text", "job", "row", "pieces"}, rows, QStringLiteral("alarms"),
                 QJsonObject{{QStringLiteral("machine"), machine}});
}

DashboardApi::Answer DashboardApi::shifts(const QUrlQuery &query, bool asCsv, qint64 nowMs)
{
    const Span when = span(query, nowMs, 7 * kDayMs);
    if (when.fail.status != 0)
        return when.fail;
    const QString machine = query.queryItemValue(QStringLiteral("machine"));
    if (!machine.isEmpty() && !TelemetryConfig::isMachineId(machine))
        return error(400, QStringLiteral("machine: not a machine id"));
    const bool floor = query.queryItemValue(QStringLiteral("by")) != QLatin1String("machine") && machine.isEmpty();
    QList<ShiftStore::Row> list;
    // A shift counts where it starts: from is moved back to the start of its shift.
    if (!d_.shifts->rows(d_.shifts->plan().at(when.from).start, when.to, machine, floor, &list))
        return unavailable();
    QJsonArray rows;
    for (const ShiftStore::Row &r : list) {
        const ShiftFigures::Figures &f = r.f;
        const QJsonValue performance = ratio(double(f.pieces), r.expected);
        const double availability = ShiftFigures::availability(f);
        QJsonObject o{{QStringLiteral("start"), IsoTime::text(r.start)},
                      {QStringLiteral("end"), IsoTime::text(r.end)},
                      {QStringLiteral("pieces"), f.pieces},
                      {QStringLiteral("knitting_s"), f.knittingMs / 1000},
                      {QStringLiteral("stopped_s"), f.stoppedMs / 1000},
                      {QStringLiteral("nodata_s"), f.noDataMs / 1000},
                      {QStringLiteral("planned_stop_s"), f.plannedStopMs / 1000},
                      {QStringLiteral("unplanned_stop_s"), f.unplannedStopMs / 1000},
                      {QStringLiteral("unexplained_stop_s"), f.unexplainedStopMs / 1000},
                      {QStringLiteral("availability"), ratio(double(f.knittingMs), double(f.knittingMs + f.stoppedMs - f.plannedStopMs))},
                      {QStringLiteral("performance"), performance},
                      {QStringLiteral("oee"), performance.isNull() ? QJsonValue(QJsonValue::Null)
                                                                   : ratio(availability * performance.toDouble(), 1)},
                      {QStringLiteral("alarms"), f.alarms},
                      {QStringLiteral("alarm_s"), f.alarmMs / 1000}};
        if (!floor)
            o.insert(QStringLiteral("machine"), r.machine);
        rows.append(o);
    }
    return table(asCsv, {"machine", "start", "end", "pieces", "knitting_s", "stopped_s", "planned_stop_s", "unplanned_stop_s",
                         "unexplained_stop_s", "nodata_s", "availability", "performance", "oee", "alarms", "alarm_s"},
                 rows, QStringLiteral("shifts"));
}

DashboardApi::Answer DashboardApi::pareto(const QUrlQuery &query, bool asCsv, qint64 nowMs, bool stops)
{
    const Span when = span(query, nowMs, 7 * kDayMs);
    if (when.fail.status != 0)
        return when.fail;
    QList<ParetoStore::Row> list;
    // Summed per shift: a shift counts where it starts, and one still open until now.
    if (!d_.paretos->read(stops ? ParetoStore::Stops : ParetoStore::Alarms, d_.shifts->plan().at(when.from).start, when.to, nowMs,
                          &list))
        return unavailable();
    qint64 total = 0;
    for (const ParetoStore::Row &r : list)
        total += stops ? r.seconds : r.count;
    QJsonArray rows;
    qint64 running = 0;
    for (int i = 0; i < list.size() && i < kMaxAlarms; ++i) {
        const ParetoStore::Row &r = list[i];
        running += stops ? r.seconds : r.count;
        const QJsonValue cumulative = total > 0 ? QJsonValue(qRound(1000.0 * double(running) / double(total)) / 10.0) : QJsonValue(0);
        QJsonObject o{{QStringLiteral("code"), r.code},
                      {QStringLiteral("text"), r.text},
                      {QStringLiteral("count"), r.count},
                      {QStringLiteral("cumulative_pct"), cumulative}};
        if (stops) {
            o.insert(QStringLiteral("planned"), r.planned);
            o.insert(QStringLiteral("stopped_s"), r.seconds);
            // Stops without a reason have no code of the panel's.
            if (r.code < 0)
                o.insert(QStringLiteral("code"), QJsonValue(QJsonValue::Null));
        } else {
            o.insert(QStringLiteral("type"), r.type);
            o.insert(QStringLiteral("standing_s"), r.seconds);
        }
        rows.append(o);
    }
    if (stops)
        return table(asCsv, {"code", "text", "planned", "count", "stopped_s", "cumulative_pct"}, rows, QStringLiteral("reasons"));
    return table(asCsv, {"type", "code", "text", "count", "standing_s", "cumulative_pct"}, rows, QStringLiteral("alarms"));
}

DashboardApi::Answer DashboardApi::alerts(bool asCsv)
{
    return table(asCsv, {"time", "rule", "machine", "event", "since", "text", "channel", "outcome"}, d_.live->alerts().log(),
                 QStringLiteral("alerts"));
}

DashboardApi::Answer DashboardApi::health()
{
    // The database's own words (host, user) go to standard error only.
    const DbWriter &w = d_.live->writer();
    return json(QJsonObject{{QStringLiteral("ignored"), double(d_.live->recorder().ignored())},
                            {QStringLiteral("database"), w.healthy() && d_.db->isOpen() ? QStringLiteral("ok")
                                                                                          : QStringLiteral("database unavailable")},
                            {QStringLiteral("backlog"), d_.live->queue().size()},
                            {QStringLiteral("dropped"), double(d_.live->queue().dropped() + d_.live->recorder().dropped())},
                            {QStringLiteral("written"), double(w.written())},
                            {QStringLiteral("machines"), d_.live->recorder().machines()}});
}

DashboardApi::Answer DashboardApi::audit(const QUrlQuery &query, bool asCsv, qint64 nowMs)
{
    const Span when = span(query, nowMs, 30 * kDayMs);
    if (when.fail.status != 0)
        return when.fail;
    // The values as the rows show them (a control character as \xNN, four characters).
    const AuditLog::Filter f{when.from, when.to, query.queryItemValue(QStringLiteral("user"), QUrl::FullyDecoded),
                             query.queryItemValue(QStringLiteral("machine"), QUrl::FullyDecoded),
                             query.queryItemValue(QStringLiteral("action"), QUrl::FullyDecoded)};
    const int most = AuditLog::kMaxField * 4;
    if (f.user.size() > most || f.machine.size() > most || f.action.size() > most)
        return error(400, QStringLiteral("user, machine and action: at most %1 characters").arg(most));
    QList<AuditLog::Entry> list;
    bool more = false;
    if (!AuditLog::read(d_.db->db(), f, &list, &more))
        return unavailable();
    QJsonArray rows;
    for (const AuditLog::Entry &e : list)
        rows.append(QJsonObject{{QStringLiteral("time"), IsoTime::text(e.t, true)}, {QStringLiteral("action"), e.action},
                                {QStringLiteral("user"), e.user}, {QStringLiteral("machine"), e.machine},
                                {QStringLiteral("address"), e.address}, {QStringLiteral("detail"), e.detail}});
    // Newest first, at most kMaxRows: the reply says when older rows were left out, and where they are.
    const QJsonObject head{{QStringLiteral("limit"), AuditLog::kMaxRows}, {QStringLiteral("truncated"), more}};
    Answer a = table(asCsv, {"time", "action", "user", "machine", "address", "detail"}, rows, QStringLiteral("entries"), head);
    if (more) {
        QUrlQuery older(query);
        older.removeAllQueryItems(QStringLiteral("to"));
        older.addQueryItem(QStringLiteral("to"), IsoTime::text(list.last().t + 1, true));
        older.removeAllQueryItems(QStringLiteral("from"));
        older.addQueryItem(QStringLiteral("from"), IsoTime::text(when.from, true));
        a.next = "/api/audit?" + older.toString(QUrl::FullyEncoded).toUtf8();
    }
    return a;
}
