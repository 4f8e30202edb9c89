#pragma once

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <deque>

class FleetDb;

// Who did what on the dashboard, kept kKeepDays in the audit table: logins (ok or failed),
// logouts, account changes and, as they come, the changes to machines and jobs. record() only
// queues the row; flush() writes what waits in one transaction on the writer's beat, so an
// audit row costs the event loop no more than a sample does. Every field is bounded and its
// control characters written as \xNN, so a hostile user name cannot break a page or a CSV
// line. A password never comes here.
class AuditLog
{
public:
    static constexpr int kKeepDays = 400;
    static constexpr int kMaxField = 64;    // user, machine, address: characters kept
    static constexpr int kMaxDetail = 256;  // detail: characters kept
    static constexpr int kMaxPending = 10000;
    static constexpr int kMaxRows = 10000;  // rows one read returns, newest first
    static constexpr qint64 kBatchMs = 3600LL * 1000;

    struct Entry
    {
        qint64 t = 0;
        QString action; // a short fixed word: login, login-failed, logout, user-add, ...
        QString user;
        QString machine;
        QString address;
        QString detail;
    };
    struct Filter
    {
        qint64 from = 0;
        qint64 to = 0;
        QString user; // empty: any
        QString machine;
        QString action;
    };

    explicit AuditLog(FleetDb *db);
    void record(const QString &action, const QByteArray &user, const QString &machine, const QString &address,
                const QString &detail, qint64 nowMs);
    // Writes what waits; false when the database failed (the rows stay queued).
    bool flush();
    int pending() const { return int(pending_.size()); }
    quint64 dropped() const { return dropped_; }

    // Writes the entry bounded and escaped.
    static bool write(QSqlDatabase &db, const Entry &e, QString *why);
    // Up to kMaxRows of the filter's rows, newest first; *more when older ones were left out.
    static bool read(QSqlDatabase &db, const Filter &f, QList<Entry> *out, bool *more);
    // Deletes up to an hour of rows older than kKeepDays; *more when older ones remain.
    static bool prune(QSqlDatabase &db, qint64 nowMs, bool *more);

private:
    static Entry bounded(const Entry &e);

    FleetDb *const db_;
    std::deque<Entry> pending_;
    quint64 dropped_ = 0;
};
