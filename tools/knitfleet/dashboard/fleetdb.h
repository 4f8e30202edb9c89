#pragma once

#include "dbtarget.h"

#include <QSqlDatabase>
#include <QString>

#include <memory>

class QLockFile;

// knitfleet's one connection to its database: SQLite in WAL mode (the file locked against a
// second knitfleet) or PostgreSQL through QPSQL (the recording connection holds an advisory
// lock against a second knitfleet on the same database). Opening brings the schema up to date; a lost
// connection is closed and opened again by whoever notices (the writer's retries).
class FleetDb
{
public:
    explicit FleetDb(const DbTarget &target);
    ~FleetDb();
    FleetDb(const FleetDb &) = delete;
    FleetDb &operator=(const FleetDb &) = delete;

    // SQLite: takes the file's lock (a second knitfleet is refused). Once, before open().
    // PostgreSQL: every open() takes the database's advisory lock.
    bool lock(QString *why);
    static constexpr qint64 kAdvisoryLock = 0x6b6e69746c656574LL;
    // Connects and migrates; false with a reason. May be called again after a failure.
    bool open(QString *why, int schema = -1);
    void close();
    bool isOpen() const;
    // Counts the open() calls: what was prepared before the last one is gone with its connection.
    int generation() const { return generation_; }
    // The last open() found a schema newer than this knitfleet's.
    bool refused() const { return refused_; }
    // The last open() found the advisory lock held by another knitfleet.
    bool taken() const { return taken_; }
    QSqlDatabase &db() { return db_; }
    bool postgres() const { return target_.postgres; }
    const DbTarget &target() const { return target_; }

private:
    DbTarget target_;
    QString connection_;
    QSqlDatabase db_;
    std::unique_ptr<QLockFile> lock_;
    bool refused_ = false;
    bool exclusive_ = false;
    bool taken_ = false;
    int generation_ = 0;
};
