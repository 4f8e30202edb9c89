#pragma once

#include "telemetry/backoff.h"

#include <QHash>
#include <QObject>
#include <QSqlQuery>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class FleetDb;
class WriteQueue;
struct Record;

// Writes what waits in the queue, one transaction every 250 ms (at most kChunk rows each, the
// samples kSamplesAStatement to a statement, so a long backlog never holds the event loop). When
// the database fails (PostgreSQL restarted, the file locked, the disk full) the transaction is
// rolled back, the rows stay queued, and the connection is opened again after 1 s, doubling to
// 60 s. Every change of the database's health is one line on standard error.
class DbWriter : public QObject
{
    Q_OBJECT

public:
    static constexpr int kPeriodMs = 250;
    static constexpr int kChunk = 5000;
    static constexpr int kSamplesAStatement = 500;
    static constexpr int kMaxIds = 20000;             // ids remembered, at most
    static constexpr qint64 kJobUseMs = 3600LL * 1000; // how exactly a job's last use is kept

    DbWriter(FleetDb *db, WriteQueue *queue, QObject *parent = nullptr);
    ~DbWriter() override;
    void start();
    // Writes one chunk now unless a retry is not due; false when the database failed.
    bool flush();
    bool healthy() const { return problem_.isEmpty(); }
    QString problem() const { return problem_; }
    quint64 written() const { return written_; }
    // The id of a machine's or job's name, made on first use; -1 when the database fails.
    int id(const QString &table, const QString &name);
    // Ids may have been deleted: they are looked up again.
    void forgetIds();
    // Called for every row written, once its transaction is committed, with its ids.
    using Written = std::function<void(int machine, int job, const Record &row)>;
    void onWritten(Written hook) { writtenHook_ = std::move(hook); }

Q_SIGNALS:
    void healthChanged();

private:
    bool write(const std::vector<Record> &rows);
    bool writeOne(const Record &r);
    bool writeSamples(const std::vector<Record> &rows, const std::vector<std::size_t> &which);
    void fail(const QString &why);
    void prepare();
    bool used(int job, qint64 t);

    FleetDb *const db_;
    WriteQueue *const queue_;
    QTimer timer_;
    Backoff backoff_;
    qint64 retryAtMs_ = 0;
    QString problem_;
    QString error_; // the failing statement's, in the open transaction
    quint64 written_ = 0;
    QHash<QString, int> ids_;        // "table\nname" -> id, committed
    QHash<QString, int> pendingIds_; // made in the open transaction
    QHash<int, qint64> jobUsed_;     // job id -> the last_t written
    std::unique_ptr<QSqlQuery> alarm_;
    std::unique_ptr<QSqlQuery> stop_;
    Written writtenHook_;
    std::vector<std::pair<int, int>> rowIds_; // machine and job of each row in the transaction
};
