#include "dbwriter.h"

#include "fleetdb.h"
#include "record.h"
#include "writequeue.h"

#include <QDateTime>
#include <QSqlError>

#include <cstdio>

DbWriter::DbWriter(FleetDb *db, WriteQueue *queue, QObject *parent)
    : QObject(parent)
    , db_(db)
    , queue_(queue)
{
    timer_.setInterval(kPeriodMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        // A backlog goes on in chunks without waiting a whole period between them.
        if (flush() && queue_->size() > 0 && queue_->size() >= kChunk)
            QTimer::singleShot(0, this, [this] { flush(); });
    });
}

DbWriter::~DbWriter() = default;

void DbWriter::start()
{
    timer_.start();
}

bool DbWriter::flush()
{
    if (queue_->isEmpty() && healthy())
        return true;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (!healthy() && now < retryAtMs_)
        return false;
    if (!db_->isOpen()) {
        QString why;
        if (!db_->open(&why)) {
            fail(why);
            return false;
        }
    }
    if (!stop_)
        prepare();
    const std::vector<Record> &rows = queue_->next(kChunk);
    if (!write(rows))
        return false;
    written_ += quint64(rows.size());
    for (std::size_t i = 0; writtenHook_ && i < rows.size() && i < rowIds_.size(); ++i)
        writtenHook_(rowIds_[i].first, rowIds_[i].second, rows[i]);
    queue_->done();
    if (!healthy()) {
        std::fprintf(stderr, "knitfleet: database %s: writing again\n", qPrintable(db_->target().text()));
        problem_.clear();
        backoff_.reset();
        Q_EMIT healthChanged();
    }
    return true;
}

bool DbWriter::write(const std::vector<Record> &rows)
{
    QSqlDatabase &db = db_->db();
    error_.clear();
    rowIds_.clear();
    bool ok = db.transaction();
    std::vector<std::size_t> samples; // of the rows, written together after the others
    for (std::size_t i = 0; ok && i < rows.size(); ++i) {
        ok = writeOne(rows[i]);
        if (ok && rows[i].kind == Record::Sample)
            samples.push_back(i);
    }
    if (ok && writeSamples(rows, samples) && db.commit()) {
        if (ids_.size() + pendingIds_.size() > kMaxIds)
            forgetIds();
        ids_.insert(pendingIds_);
        pendingIds_.clear();
        return true;
    }
    const QString why = error_.isEmpty() ? db.lastError().text().trimmed() : error_;
    fail(why.isEmpty() ? QStringLiteral("write failed") : why);
    return false;
}

bool DbWriter::writeOne(const Record &r)
{
    const int machine = id(QStringLiteral("machines"), r.machine);
    const int job = id(QStringLiteral("jobs"), r.job);
    if (machine < 0 || job < 0 || !used(job, r.t))
        return false;
    rowIds_.emplace_back(machine, job);
    if (r.kind == Record::Sample)
        return true; // by writeSamples()
    QSqlQuery &q = r.kind == Record::Alarm ? *alarm_ : *stop_;
    const QVariantList values
        = r.kind == Record::Alarm ? QVariantList{machine, r.t, r.dt, r.panelTime, r.event, r.type, r.code, r.text, job, r.row, r.pieces}
                                  : QVariantList{machine, r.t, r.end, job, int(r.alarm >= 0), r.code < 0 ? QVariant() : QVariant(r.code),
                                                 int(r.planned), QStringLiteral("") + r.text, QStringLiteral("") + r.panelTime};
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    if (q.exec())
        return true;
    error_ = q.lastError().text().trimmed();
    return false;
}

bool DbWriter::writeSamples(const std::vector<Record> &rows, const std::vector<std::size_t> &which)
{
    // Samples come by the hundred a second from thousands of machines: a statement each was a
    // round trip each to PostgreSQL, and on a busy computer those waits left the writer seconds
    // behind. Only numbers go into the text.
    QSqlQuery q(db_->db());
    for (std::size_t i = 0; i < which.size(); i += kSamplesAStatement) {
        QStringList values;
        for (std::size_t k = i; k < which.size() && k < i + kSamplesAStatement; ++k) {
            const Record &r = rows[which[k]];
            const std::pair<int, int> &ids = rowIds_[which[k]];
            values.append(QLatin1Char('(')
                          + QStringList{QString::number(ids.first), QString::number(r.t), QString::number(r.dt), QString::number(ids.second),
                                        QString::number(int(r.running)), QString::number(int(r.online)), QString::number(r.pieces),
                                        QString::number(r.target), r.alarm < 0 ? QStringLiteral("NULL") : QString::number(r.alarm)}
                                .join(QLatin1Char(','))
                          + QLatin1Char(')'));
        }
        if (!q.exec(QStringLiteral("INSERT INTO samples (machine, t, dt, job, running, online, pieces, target, alarm) VALUES %1"
                                   " ON CONFLICT DO NOTHING")
                        .arg(values.join(QLatin1Char(','))))) {
            error_ = q.lastError().text().trimmed();
            return false;
        }
    }
    return true;
}

int DbWriter::id(const QString &table, const QString &given)
{
    // A machine heard only through its status has no job yet: the empty name, never NULL.
    const QString name = given.isNull() ? QStringLiteral("") : given;
    const QString key = table + QLatin1Char('\n') + name;
    const int known = ids_.value(key, pendingIds_.value(key, -1));
    if (known >= 0)
        return known;
    QSqlQuery q(db_->db());
    q.prepare(QStringLiteral("SELECT id FROM %1 WHERE name = ?").arg(table));
    q.addBindValue(name);
    if (!q.exec()) {
        error_ = q.lastError().text().trimmed();
        return -1;
    }
    if (q.next()) {
        pendingIds_.insert(key, q.value(0).toInt());
        return q.value(0).toInt();
    }
    QSqlQuery add(db_->db());
    add.prepare(QStringLiteral("INSERT INTO %1 (id, name) SELECT COALESCE(MAX(id), 0) + 1, ? FROM %1").arg(table));
    add.addBindValue(name);
    if (add.exec())
        return id(table, name);
    error_ = add.lastError().text().trimmed();
    return -1;
}

void DbWriter::forgetIds()
{
    ids_.clear();
    jobUsed_.clear();
}

bool DbWriter::used(int job, qint64 t)
{
    qint64 &written = jobUsed_[job];
    if (t - written < kJobUseMs)
        return true;
    QSqlQuery q(db_->db());
    q.prepare(QStringLiteral("UPDATE jobs SET last_t = ? WHERE id = ? AND last_t < ?"));
    q.addBindValue(t);
    q.addBindValue(job);
    q.addBindValue(t);
    if (!q.exec()) {
        error_ = q.lastError().text().trimmed();
        return false;
    }
    written = t;
    return true;
}

void DbWriter::prepare()
{
    stop_ = std::make_unique<QSqlQuery>(db_->db());
    stop_->prepare(QStringLiteral("INSERT INTO stops (machine, start_t, end_t, job, alarm, code, planned, text, picked)"
                                  " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (machine, start_t) DO UPDATE SET"
                                  " end_t = excluded.end_t, alarm = excluded.alarm, code = excluded.code,"
                                  " planned = excluded.planned, text = excluded.text, picked = excluded.picked"));
    alarm_ = std::make_unique<QSqlQuery>(db_->db());
    alarm_->prepare(QStringLiteral("INSERT INTO alarms (machine, t, dt, panel_time, event, type, code, text, job, row_no, pieces)"
                                   " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT DO NOTHING"));
}

void DbWriter::fail(const QString &why)
{
    db_->db().rollback();
    pendingIds_.clear();
    jobUsed_.clear();
    alarm_.reset();
    stop_.reset();
    db_->close();
    const int waitMs = backoff_.next();
    retryAtMs_ = QDateTime::currentMSecsSinceEpoch() + waitMs;
    std::fprintf(stderr, "knitfleet: database %s: %s; %d messages wait, trying again in %d s\n",
                 qPrintable(db_->target().text()), qPrintable(why.simplified()), queue_->size(), waitMs / 1000);
    const bool changed = problem_ != why;
    problem_ = why;
    if (changed)
        Q_EMIT healthChanged();
}
