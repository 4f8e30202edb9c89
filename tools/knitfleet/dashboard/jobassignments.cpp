#include "jobassignments.h"

#include "jobfiles.h"
#include "requestfields.h"

#include "data/historylog.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cstdio>

namespace {

constexpr int kMaxVersion = 1000000000;

DashboardApi::Answer answer(const QString &machine, const QJsonValue &offer)
{
    const QJsonObject o{{QStringLiteral("machine"), machine}, {QStringLiteral("offer"), offer}};
    return {200, "application/json", QJsonDocument(o).toJson(QJsonDocument::Compact), {}};
}

DashboardApi::Answer failed(const QSqlQuery &q)
{
    std::fprintf(stderr, "knitfleet serve: job assignment: %s\n", qPrintable(q.lastError().text().trimmed()));
    return DashboardApi::error(503, QStringLiteral("the database does not answer"));
}

// The offer of a version: its files' digests, 404 when there is no such version, 409 when it
// may not reach machines.
DashboardApi::Answer offerOf(QSqlDatabase &db, const QString &job, int version, const QString &by, qint64 t)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT v.cnt_sha, v.pat_sha, v.wrk_sha, v.approved_by, n.archived FROM library_versions v"
                             " JOIN library_names n ON n.name = v.name WHERE v.name = ? AND v.version = ?"));
    q.addBindValue(job);
    q.addBindValue(version);
    if (!q.exec())
        return failed(q);
    if (!q.next())
        return DashboardApi::error(404, QStringLiteral("no such job version"));
    if (q.value(4).toInt() != 0)
        return DashboardApi::error(409, QStringLiteral("the job is archived"));
    if (q.value(3).isNull())
        return DashboardApi::error(409, QStringLiteral("the version waits for another supervisor's approval"));
    const QJsonObject offer{{QStringLiteral("job"), job}, {QStringLiteral("version"), version},
                            {QStringLiteral("sha256"), QJsonObject{{QStringLiteral("cnt"), q.value(0).toString()},
                                                                   {QStringLiteral("pat"), q.value(1).toString()},
                                                                   {QStringLiteral("wrk"), q.value(2).toString()}}},
                            {QStringLiteral("by"), by},
                            // The panels' own form of a time: local, without a zone.
                            {QStringLiteral("time"), HistoryLog::timeText(QDateTime::fromMSecsSinceEpoch(t))}};
    return {200, "application/json", QJsonDocument(offer).toJson(QJsonDocument::Compact), {}};
}

// 0 known, 404 not, 503 the database failed.
int knownMachine(QSqlDatabase &db, const QString &machine)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT 1 FROM machine_tokens WHERE machine = ? AND revoked_t IS NULL"));
    q.addBindValue(machine);
    if (!q.exec())
        return 503;
    return q.next() ? 0 : 404;
}

} // namespace

DashboardApi::Answer JobAssignments::assign(QSqlDatabase &db, const Asked &a)
{
    const int known = a.heard ? 0 : knownMachine(db, a.machine);
    if (known == 503)
        return DashboardApi::error(503, QStringLiteral("the database does not answer"));
    if (known == 404)
        return DashboardApi::error(404, QStringLiteral("no such machine: add it with knitfleet machine add, or let its panel connect"));
    QSqlQuery q(db);
    if (a.job.isEmpty() || a.version == 0) {
        q.prepare(QStringLiteral("DELETE FROM machine_jobs WHERE machine = ?"));
        q.addBindValue(a.machine);
        return q.exec() ? answer(a.machine, QJsonValue::Null) : failed(q);
    }
    const DashboardApi::Answer offer = offerOf(db, a.job, a.version, QString::fromUtf8(a.user), a.nowMs);
    if (offer.status != 200)
        return offer;
    q.prepare(QStringLiteral("INSERT INTO machine_jobs (machine, name, version, assigned_by, assigned_t) VALUES (?, ?, ?, ?, ?)"
                             " ON CONFLICT (machine) DO UPDATE SET name = excluded.name, version = excluded.version,"
                             " assigned_by = excluded.assigned_by, assigned_t = excluded.assigned_t"));
    for (const QVariant &v : {QVariant(a.machine), QVariant(a.job), QVariant(a.version), QVariant(QString::fromUtf8(a.user)), QVariant(a.nowMs)})
        q.addBindValue(v);
    if (!q.exec())
        return failed(q);
    return answer(a.machine, QJsonDocument::fromJson(offer.body).object());
}

DashboardApi::Answer JobAssignments::current(QSqlDatabase &db, const QString &machine)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT name, version, assigned_by, assigned_t FROM machine_jobs WHERE machine = ?"));
    q.addBindValue(machine);
    if (!q.exec())
        return failed(q);
    if (!q.next())
        return answer(machine, QJsonValue::Null);
    const DashboardApi::Answer offer = offerOf(db, q.value(0).toString(), q.value(1).toInt(), q.value(2).toString(), q.value(3).toLongLong());
    // A version archived since stays the machine's assignment; its files are still named.
    const QJsonObject o = offer.status == 200 ? QJsonDocument::fromJson(offer.body).object()
                                              : QJsonObject{{QStringLiteral("job"), q.value(0).toString()}, {QStringLiteral("version"), q.value(1).toInt()}};
    return answer(machine, o);
}

bool JobAssignments::readBody(const QByteArray &body, bool form, QString *job, int *version, QString *why)
{
    QByteArray name;
    double v = -1; // -1: none given
    bool ok = true;
    if (form) {
        name = RequestFields::formField(body, "job");
        const QByteArray text = RequestFields::formField(body, "version");
        if (!text.isEmpty())
            v = text.size() <= 10 ? text.toInt(&ok) : -2;
    } else {
        QJsonParseError e;
        const QJsonObject o = QJsonDocument::fromJson(body, &e).object();
        const QJsonValue given = o.value(QLatin1String("version"));
        ok = e.error == QJsonParseError::NoError && o.value(QLatin1String("job")).isString() && (given.isUndefined() || given.isDouble());
        name = o.value(QLatin1String("job")).toString().toUtf8();
        v = given.toDouble(-1);
    }
    *job = name.isEmpty() ? QString() : JobFiles::name(name);
    // A job needs its version; an empty job clears whatever the version says.
    ok = ok && (name.isEmpty() || (!job->isEmpty() && v >= 0)) && v >= -1 && v <= kMaxVersion && v == double(qint64(v));
    *version = ok && !job->isEmpty() ? int(v) : 0;
    if (!ok)
        *why = QStringLiteral("the body must be {\"job\":NAME,\"version\":N} (or the form fields job and version): a plain job name, "
                              "N from 0 (none: the offer is cleared) to a billion");
    return ok;
}
