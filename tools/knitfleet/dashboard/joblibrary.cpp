#include "joblibrary.h"

#include "isotime.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cstdio>

namespace {

const char *const kExts[3] = {"cnt", "pat", "wrk"};

DashboardApi::Answer json(const QJsonObject &o, int status = 200)
{
    return {status, "application/json", QJsonDocument(o).toJson(QJsonDocument::Compact), {}};
}

DashboardApi::Answer failed(const QSqlQuery &q)
{
    std::fprintf(stderr, "knitfleet serve: job library: %s\n", qPrintable(q.lastError().text().trimmed()));
    return DashboardApi::error(503, QStringLiteral("the database does not answer"));
}

QString stateOf(bool archived, const QVariant &approvedBy)
{
    return archived ? QStringLiteral("archived") : approvedBy.isNull() ? QStringLiteral("waiting") : QStringLiteral("released");
}

} // namespace

QString JobLibrary::sha256(const QByteArray &data)
{
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex());
}

DashboardApi::Answer JobLibrary::upload(const Upload &u)
{
    const QString digests[3] = {sha256(u.cnt), sha256(u.pat), sha256(u.wrk)};
    // SQLite may find the recorder's transaction in the way for a moment: the upload tries again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!db_.transaction())
            continue;
        bool broken = false;
        const int same = sameVersion(u, digests, &broken);
        int version = same;
        QSqlQuery names(db_);
        // An upload brings an archived name back: it is the job its machines should knit.
        const bool ok = !broken
            && (same > 0
                || (storeBlob(u.cnt, digests[0]) && storeBlob(u.pat, digests[1]) && storeBlob(u.wrk, digests[2])
                    && addVersion(u, digests, &version)))
            && names.prepare(QStringLiteral("UPDATE library_names SET archived = 0 WHERE name = ?"))
            && (names.addBindValue(u.name), exec(names));
        if (ok && db_.commit())
            return json({{QStringLiteral("name"), u.name}, {QStringLiteral("version"), version},
                         {QStringLiteral("created"), same == 0}}, same == 0 ? 201 : 200);
        std::fprintf(stderr, "knitfleet serve: job library: upload of %s: %s\n", qPrintable(u.name),
                     qPrintable((why_.isEmpty() ? db_.lastError().text() : why_).trimmed()));
        db_.rollback();
    }
    return DashboardApi::error(503, QStringLiteral("the database does not answer: the job was not stored"));
}

int JobLibrary::sameVersion(const Upload &u, const QString digests[3], bool *failed)
{
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("SELECT version FROM library_versions WHERE name = ? AND cnt_sha = ? AND pat_sha = ? AND wrk_sha = ?"));
    q.addBindValue(u.name);
    for (int i = 0; i < 3; ++i)
        q.addBindValue(digests[i]);
    *failed = !exec(q);
    return !*failed && q.next() ? q.value(0).toInt() : 0;
}

bool JobLibrary::storeBlob(const QByteArray &data, const QString &digest)
{
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("INSERT INTO library_blobs (sha256, data) VALUES (?, ?) ON CONFLICT (sha256) DO NOTHING"));
    q.addBindValue(digest);
    q.addBindValue(data);
    return exec(q);
}

bool JobLibrary::addVersion(const Upload &u, const QString digests[3], int *version)
{
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("INSERT INTO library_names (name, archived) VALUES (?, 0) ON CONFLICT (name) DO NOTHING"));
    q.addBindValue(u.name);
    if (!exec(q))
        return false;
    q.prepare(QStringLiteral("SELECT COALESCE(MAX(version), 0) + 1 FROM library_versions WHERE name = ?"));
    q.addBindValue(u.name);
    if (!exec(q) || !q.next())
        return false;
    *version = q.value(0).toInt();
    q.prepare(QStringLiteral("INSERT INTO library_versions (name, version, cnt_sha, pat_sha, wrk_sha, rows_n, width, size,"
                             " uploader, uploaded_t, comment, approved_by, approved_t) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant &v : {QVariant(u.name), QVariant(*version), QVariant(digests[0]), QVariant(digests[1]), QVariant(digests[2]),
                              QVariant(u.facts.rows), QVariant(u.facts.width), QVariant(u.facts.size),
                              QVariant(QString::fromUtf8(u.user)), QVariant(u.nowMs), QVariant(u.comment.isNull() ? QStringLiteral("") : u.comment.left(kMaxComment)),
                              // Without approval required a version is released as it comes, by its
                              // uploader (a null string would bind as NULL: waiting for ever).
                              u.approvalNeeded ? QVariant(QMetaType(QMetaType::QString)) : QVariant(QString::fromUtf8(u.user)),
                              u.approvalNeeded ? QVariant(QMetaType(QMetaType::LongLong)) : QVariant(u.nowMs)})
        q.addBindValue(v);
    return exec(q);
}

bool JobLibrary::exec(QSqlQuery &q)
{
    if (q.exec())
        return true;
    why_ = q.lastError().text();
    return false;
}

DashboardApi::Answer JobLibrary::list()
{
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT n.name, n.archived, v.version, v.rows_n, v.width, v.size, v.uploader, v.uploaded_t,"
                               " v.comment, v.approved_by, v.cnt_sha, v.pat_sha, v.wrk_sha FROM library_names n"
                               " JOIN library_versions v ON v.name = n.name ORDER BY n.name, v.version DESC")))
        return failed(q);
    QJsonArray names;
    QJsonObject current;
    QJsonArray versions;
    const auto close = [&] {
        if (current.isEmpty())
            return;
        current.insert(QStringLiteral("versions"), versions);
        names.append(current);
        versions = QJsonArray();
    };
    while (q.next()) {
        const QString name = q.value(0).toString();
        const bool archived = q.value(1).toInt() != 0;
        if (current.value(QLatin1String("name")).toString() != name || current.isEmpty()) {
            close();
            current = {{QStringLiteral("name"), name}, {QStringLiteral("archived"), archived}};
        }
        if (versions.size() >= kMaxVersions)
            continue;
        versions.append(QJsonObject{
            {QStringLiteral("version"), q.value(2).toInt()}, {QStringLiteral("rows"), q.value(3).toInt()},
            {QStringLiteral("width"), q.value(4).toInt()}, {QStringLiteral("size"), q.value(5).toLongLong()},
            {QStringLiteral("uploader"), q.value(6).toString()}, {QStringLiteral("uploaded"), IsoTime::text(q.value(7).toLongLong())},
            {QStringLiteral("comment"), q.value(8).toString()}, {QStringLiteral("state"), stateOf(archived, q.value(9))},
            {QStringLiteral("approved_by"), q.value(9).isNull() ? QJsonValue() : QJsonValue(q.value(9).toString())},
            {QStringLiteral("files"), QJsonObject{{QStringLiteral("cnt"), q.value(10).toString()},
                                                  {QStringLiteral("pat"), q.value(11).toString()},
                                                  {QStringLiteral("wrk"), q.value(12).toString()}}}});
    }
    close();
    return json({{QStringLiteral("names"), names}});
}

DashboardApi::Answer JobLibrary::released()
{
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT v.name, v.version, v.rows_n, v.width, v.size, v.uploaded_t, v.cnt_sha, v.pat_sha, v.wrk_sha"
                               " FROM library_versions v JOIN library_names n ON n.name = v.name"
                               " WHERE n.archived = 0 AND v.approved_by IS NOT NULL ORDER BY v.name, v.version DESC")))
        return failed(q);
    QJsonArray jobs;
    while (q.next())
        jobs.append(QJsonObject{{QStringLiteral("name"), q.value(0).toString()}, {QStringLiteral("version"), q.value(1).toInt()},
                                {QStringLiteral("rows"), q.value(2).toInt()}, {QStringLiteral("width"), q.value(3).toInt()},
                                {QStringLiteral("size"), q.value(4).toLongLong()},
                                {QStringLiteral("uploaded"), IsoTime::text(q.value(5).toLongLong())},
                                {QStringLiteral("sha256"), QJsonObject{{QStringLiteral("cnt"), q.value(6).toString()},
                                                                       {QStringLiteral("pat"), q.value(7).toString()},
                                                                       {QStringLiteral("wrk"), q.value(8).toString()}}}});
    return json({{QStringLiteral("jobs"), jobs}});
}

int JobLibrary::digestOf(const QString &name, int version, const QString &ext, bool forMachine, QString *digest)
{
    const int column = ext == QLatin1String("cnt") ? 0 : ext == QLatin1String("pat") ? 1 : ext == QLatin1String("wrk") ? 2 : -1;
    if (column < 0)
        return 404;
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("SELECT v.%1_sha FROM library_versions v JOIN library_names n ON n.name = v.name"
                             " WHERE v.name = ? AND v.version = ?%2")
                  .arg(QLatin1String(kExts[column]),
                       forMachine ? QStringLiteral(" AND n.archived = 0 AND v.approved_by IS NOT NULL") : QString()));
    q.addBindValue(name);
    q.addBindValue(version);
    if (!q.exec())
        return 503;
    if (!q.next())
        return 404;
    *digest = q.value(0).toString();
    return 0;
}

bool JobLibrary::blob(const QString &digest, QByteArray *data, DashboardApi::Answer *fail)
{
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("SELECT data FROM library_blobs WHERE sha256 = ?"));
    q.addBindValue(digest);
    if (!q.exec()) {
        *fail = failed(q);
        return false;
    }
    *data = q.next() ? q.value(0).toByteArray() : QByteArray();
    const bool kept = q.isValid() && verified_ && verified_->holds(digest, *data);
    if (!kept && (!q.isValid() || sha256(*data) != digest)) {
        std::fprintf(stderr, "knitfleet serve: job library: the stored file %s is missing or no longer matches its digest\n",
                     qPrintable(digest));
        *fail = DashboardApi::error(500, QStringLiteral("the stored file is damaged: upload the job again"));
        return false;
    }
    if (!kept && verified_)
        verified_->keep(digest, *data);
    return true;
}

DashboardApi::Answer JobLibrary::file(const QString &name, int version, const QString &ext, bool forMachine)
{
    QString digest;
    const int status = digestOf(name, version, ext, forMachine, &digest);
    if (status != 0)
        return DashboardApi::error(status, status == 404 ? QStringLiteral("no such job file") : QStringLiteral("the database does not answer"));
    DashboardApi::Answer a;
    if (!blob(digest, &a.body, &a))
        return a;
    a.type = "application/octet-stream";
    return a;
}

DashboardApi::Answer JobLibrary::preview(const QString &name, int version)
{
    DashboardApi::Answer a = file(name, version, QStringLiteral("pat"));
    if (a.status != 200)
        return a;
    a.body = JobFiles::previewPng(a.body);
    a.type = "image/png";
    return a;
}

DashboardApi::Answer JobLibrary::approve(const QString &name, int version, const QByteArray &user, qint64 nowMs)
{
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("SELECT uploader, approved_by FROM library_versions WHERE name = ? AND version = ?"));
    q.addBindValue(name);
    q.addBindValue(version);
    if (!q.exec())
        return failed(q);
    if (!q.next())
        return DashboardApi::error(404, QStringLiteral("no such job version"));
    if (!q.value(1).isNull())
        return DashboardApi::error(409, QStringLiteral("the version is released already"));
    // Four eyes: whoever uploaded a version cannot be the one who lets it reach the machines.
    if (q.value(0).toString() == QString::fromUtf8(user))
        return DashboardApi::error(403, QStringLiteral("another supervisor must approve what you uploaded"));
    QSqlQuery set(db_);
    set.prepare(QStringLiteral("UPDATE library_versions SET approved_by = ?, approved_t = ? WHERE name = ? AND version = ? AND approved_by IS NULL"));
    set.addBindValue(QString::fromUtf8(user));
    set.addBindValue(nowMs);
    set.addBindValue(name);
    set.addBindValue(version);
    if (!set.exec())
        return failed(set);
    return json({{QStringLiteral("name"), name}, {QStringLiteral("version"), version}, {QStringLiteral("state"), QStringLiteral("released")}});
}

DashboardApi::Answer JobLibrary::archive(const QString &name, const QByteArray &user, qint64 nowMs)
{
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("UPDATE library_names SET archived = 1, archived_by = ?, archived_t = ? WHERE name = ?"));
    q.addBindValue(QString::fromUtf8(user));
    q.addBindValue(nowMs);
    q.addBindValue(name);
    if (!q.exec())
        return failed(q);
    if (q.numRowsAffected() < 1)
        return DashboardApi::error(404, QStringLiteral("no such job"));
    return json({{QStringLiteral("name"), name}, {QStringLiteral("archived"), true}});
}
