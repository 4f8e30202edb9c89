#include "fleetdb.h"

#include "migrations.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

FleetDb::FleetDb(const DbTarget &target)
    : target_(target)
{
    static std::atomic<int> serial{0};
    connection_ = QStringLiteral("knitfleet-%1").arg(++serial);
    db_ = QSqlDatabase::addDatabase(target.postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), connection_);
    if (target.postgres) {
        db_.setDatabaseName(target.name);
        db_.setHostName(target.host);
        db_.setUserName(target.user);
        db_.setPort(target.port);
        db_.setConnectOptions(QStringLiteral("connect_timeout=3"));
    } else {
        db_.setDatabaseName(target.path);
        // A locked file answers at once: the event loop never waits on another writer.
        db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=50"));
    }
}

FleetDb::~FleetDb()
{
    close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection_);
}

bool FleetDb::lock(QString *why)
{
    exclusive_ = true;
    if (target_.postgres)
        return true;
    QDir().mkpath(QFileInfo(target_.path).absolutePath());
    lock_ = std::make_unique<QLockFile>(target_.path + QStringLiteral(".lock"));
    lock_->setStaleLockTime(0); // a lock is stale only when its process is gone
    if (lock_->tryLock(0))
        return true;
    qint64 pid = 0;
    QString host, app;
    lock_->getLockInfo(&pid, &host, &app);
    *why = QStringLiteral("%1 is recorded to by another knitfleet (process %2)").arg(target_.path).arg(pid);
    lock_.reset();
    return false;
}

bool FleetDb::open(QString *why, int schema)
{
    close();
    ++generation_;
    if (!db_.open()) {
        *why = db_.lastError().text().trimmed();
        return false;
    }
    QSqlQuery q(db_);
    // Held by this connection until it goes: a knitfleet that died leaves no lock behind.
    taken_ = false;
    if (target_.postgres && exclusive_
        && (!q.exec(QStringLiteral("SELECT pg_try_advisory_lock(%1)").arg(kAdvisoryLock)) || !q.next() || !q.value(0).toBool())) {
        taken_ = q.isActive();
        *why = taken_ ? QStringLiteral("another knitfleet records to this database (it holds its advisory lock)")
                      : q.lastError().text().trimmed();
        close();
        return false;
    }
    if (!target_.postgres) {
        // WAL: readers never wait for the writer; NORMAL: a power cut loses at most the last
        // transactions, never the file.
        if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.next() || q.value(0).toString() != QLatin1String("wal")
            || !q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"))) {
            *why = QStringLiteral("cannot use WAL: %1").arg(q.lastError().text());
            close();
            return false;
        }
    }
    if (!Migrations::apply(db_, target_.postgres, why, schema < 0 ? Migrations::latest() : schema)) {
        refused_ = Migrations::version(db_) > Migrations::latest();
        close();
        return false;
    }
    return true;
}

void FleetDb::close()
{
    if (db_.isOpen())
        db_.close();
}

bool FleetDb::isOpen() const
{
    return db_.isOpen();
}
