#include "migrations.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

// Samples keyed by machine and time; SQLite keeps them in the key's own tree, without a rowid
// and a second index, which halves the bytes a machine-day takes. A sample holds what the
// figures and the timeline need; the row within the piece is live information only (about a
// tenth of a sample's bytes, 8,640 samples a machine-day).
QStringList step(int n, bool postgres)
{
    const QString compact = postgres ? QString() : QStringLiteral(" WITHOUT ROWID");
    switch (n) {
    case 1:
        return {QStringLiteral("CREATE TABLE machines (id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE)"),
                QStringLiteral("CREATE TABLE jobs (id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE)"),
                QStringLiteral("CREATE TABLE samples (machine INTEGER NOT NULL, t BIGINT NOT NULL, dt INTEGER NOT NULL,"
                               " job INTEGER NOT NULL, running SMALLINT NOT NULL, online SMALLINT NOT NULL,"
                               " pieces INTEGER NOT NULL, target INTEGER NOT NULL, alarm INTEGER, PRIMARY KEY (machine, t))")
                    + compact,
                QStringLiteral("CREATE TABLE alarms (machine INTEGER NOT NULL, t BIGINT NOT NULL, dt INTEGER NOT NULL,"
                               " panel_time TEXT NOT NULL, event SMALLINT NOT NULL, type INTEGER NOT NULL,"
                               " code INTEGER NOT NULL, text TEXT NOT NULL, job INTEGER NOT NULL, row_no INTEGER NOT NULL,"
                               " pieces INTEGER NOT NULL, PRIMARY KEY (machine, t))"),
                // QoS 1 may deliver an event twice: the panel's time tells the copy.
                QStringLiteral("CREATE UNIQUE INDEX alarms_once ON alarms (machine, panel_time, event, type, code)"),
                QStringLiteral("CREATE INDEX alarms_time ON alarms (t)")};
    case 2:
        return {QStringLiteral("CREATE TABLE shift_summaries (machine INTEGER NOT NULL, start_t BIGINT NOT NULL,"
                               " end_t BIGINT NOT NULL, job INTEGER NOT NULL, pieces INTEGER NOT NULL,"
                               " knitting_s INTEGER NOT NULL, stopped_s INTEGER NOT NULL, nodata_s INTEGER NOT NULL,"
                               " alarms INTEGER NOT NULL, alarm_s INTEGER NOT NULL, PRIMARY KEY (machine, start_t, job))"),
                QStringLiteral("CREATE INDEX shift_summaries_start ON shift_summaries (start_t)"),
                QStringLiteral("CREATE TABLE settings (name TEXT PRIMARY KEY, value TEXT NOT NULL)")};
    case 3:
        // A job's name goes with the last of its rows (last_t: when it was last used, to the hour).
        return {QStringLiteral("ALTER TABLE jobs ADD COLUMN last_t BIGINT NOT NULL DEFAULT 0"),
                QStringLiteral("CREATE INDEX jobs_last ON jobs (last_t)"), QStringLiteral("CREATE INDEX alarms_job ON alarms (job)")};
    case 4:
        // Stops with their reasons (code NULL: none given; end_t far ahead while one stands), the
        // shifts' stopped time by kind, and each shift's Paretos for the whole floor, summed once
        // the shift is over, so a year's Pareto reads a few rows a shift. Stopped time summed
        // before reasons existed counts as unexplained.
        return {QStringLiteral("CREATE TABLE stops (machine INTEGER NOT NULL, start_t BIGINT NOT NULL, end_t BIGINT NOT NULL,"
                               " job INTEGER NOT NULL, alarm SMALLINT NOT NULL, code INTEGER, planned SMALLINT NOT NULL,"
                               " text TEXT NOT NULL, picked TEXT NOT NULL, PRIMARY KEY (machine, start_t))"),
                QStringLiteral("CREATE INDEX stops_end ON stops (end_t)"),
                QStringLiteral("ALTER TABLE shift_summaries ADD COLUMN planned_stop_s INTEGER NOT NULL DEFAULT 0"),
                QStringLiteral("ALTER TABLE shift_summaries ADD COLUMN unplanned_stop_s INTEGER NOT NULL DEFAULT 0"),
                QStringLiteral("ALTER TABLE shift_summaries ADD COLUMN unexplained_stop_s INTEGER NOT NULL DEFAULT 0"),
                QStringLiteral("UPDATE shift_summaries SET unexplained_stop_s = stopped_s"),
                QStringLiteral("CREATE TABLE pareto_summaries (start_t BIGINT NOT NULL, kind SMALLINT NOT NULL, type INTEGER NOT NULL,"
                               " code INTEGER NOT NULL, planned SMALLINT NOT NULL, text TEXT NOT NULL, count BIGINT NOT NULL,"
                               " seconds BIGINT NOT NULL, PRIMARY KEY (start_t, kind, type, code))")};
    case 5:
        // The dashboard's accounts (UserStore): the hash is argon2id as libsodium writes it.
        // Times in ms since the epoch, for the audit of account changes that sits beside it.
        return {QStringLiteral("CREATE TABLE users (name TEXT PRIMARY KEY, role TEXT NOT NULL, hash TEXT NOT NULL,"
                               " created_t BIGINT NOT NULL, changed_t BIGINT NOT NULL)")};
    case 6:
        // The audit (AuditLog): who did what, read newest first by time and pruned by it.
        return {QStringLiteral("CREATE TABLE audit (t BIGINT NOT NULL, action TEXT NOT NULL, user_name TEXT NOT NULL,"
                               " machine TEXT NOT NULL, address TEXT NOT NULL, detail TEXT NOT NULL)"),
                QStringLiteral("CREATE INDEX audit_time ON audit (t)")};
    case 7:
        // The job library (JobLibrary): files kept once under their SHA-256, a version of a name
        // naming its three; approved_by NULL while a version waits for approval. The machines
        // that fetch from it.
        return {QStringLiteral("CREATE TABLE library_blobs (sha256 TEXT PRIMARY KEY, data %1 NOT NULL)")
                    .arg(postgres ? QStringLiteral("BYTEA") : QStringLiteral("BLOB")),
                QStringLiteral("CREATE TABLE library_names (name TEXT PRIMARY KEY, archived SMALLINT NOT NULL,"
                               " archived_by TEXT, archived_t BIGINT)"),
                QStringLiteral("CREATE TABLE library_versions (name TEXT NOT NULL, version INTEGER NOT NULL, cnt_sha TEXT NOT NULL,"
                               " pat_sha TEXT NOT NULL, wrk_sha TEXT NOT NULL, rows_n INTEGER NOT NULL, width INTEGER NOT NULL,"
                               " size BIGINT NOT NULL, uploader TEXT NOT NULL, uploaded_t BIGINT NOT NULL, comment TEXT NOT NULL,"
                               " approved_by TEXT, approved_t BIGINT, PRIMARY KEY (name, version))"),
                // The machines' tokens for the library (MachineTokens): a token's SHA-256, never the token.
                QStringLiteral("CREATE TABLE machine_tokens (machine TEXT PRIMARY KEY, token_sha256 TEXT NOT NULL UNIQUE,"
                               " created_t BIGINT NOT NULL, revoked_t BIGINT)")};
    case 8:
        // Each machine's last assignment (JobAssignments): the offer retained on the broker.
        return {QStringLiteral("CREATE TABLE machine_jobs (machine TEXT PRIMARY KEY, name TEXT NOT NULL, version INTEGER NOT NULL,"
                               " assigned_by TEXT NOT NULL, assigned_t BIGINT NOT NULL)")};
    }
    return {};
}

bool exec(QSqlQuery &q, const QString &sql, QString *why)
{
    if (q.exec(sql))
        return true;
    *why = q.lastError().text();
    return false;
}

} // namespace

int Migrations::latest()
{
    return 8;
}

int Migrations::version(QSqlDatabase &db)
{
    if (!db.tables().contains(QStringLiteral("schema_version")))
        return db.isOpen() ? 0 : -1;
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT version FROM schema_version")) && q.next() ? q.value(0).toInt() : -1;
}

bool Migrations::apply(QSqlDatabase &db, bool postgres, QString *why, int upTo)
{
    int v = version(db);
    if (v < 0) {
        *why = QStringLiteral("cannot read the schema version: %1").arg(db.lastError().text());
        return false;
    }
    if (v > latest()) {
        *why = QStringLiteral("the database has schema version %1, newer than this knitfleet's %2: use a newer knitfleet")
                   .arg(v).arg(latest());
        return false;
    }
    for (++v; v <= upTo; ++v) {
        QSqlQuery q(db);
        bool ok = db.transaction();
        const QStringList sql = step(v, postgres)
                                + QStringList{v == 1 ? QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)")
                                                     : QStringLiteral("DELETE FROM schema_version"),
                                              QStringLiteral("INSERT INTO schema_version VALUES (%1)").arg(v)};
        for (const QString &s : sql)
            ok = ok && exec(q, s, why);
        if (!ok || !db.commit()) {
            if (why->isEmpty())
                *why = db.lastError().text();
            *why = QStringLiteral("schema step %1: %2").arg(v).arg(*why);
            db.rollback();
            return false;
        }
    }
    return true;
}
