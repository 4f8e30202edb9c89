#pragma once

#include "alertengine.h"
#include "auditlog.h"
#include "dashboardapi.h"
#include "dbtarget.h"
#include "dbwriter.h"
#include "fleetdb.h"
#include "groupmap.h"
#include "historyqueries.h"
#include "livefeed.h"
#include "paretostore.h"
#include "recorder.h"
#include "retention.h"
#include "shiftplan.h"
#include "shiftstore.h"
#include "writequeue.h"

#include <QObject>
#include <QTimer>

// knitfleet serve without its web server: takes the broker's messages into the live picture
// and the write queue, writes, prunes and sums shifts in small steps on the event loop, and
// answers the API. Everything here is testable without HTTP.
class Dashboard : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaintenanceMs = 250;
    static constexpr qint64 kRetentionRoundMs = 10 * 60 * 1000;
    static constexpr qint64 kSeedStopsMs = 2LL * 86400 * 1000;

    struct Options
    {
        DbTarget db;
        int sampleS = 10;
        int keepDays = 30;
        int staleS = 10;
        ShiftPlan shifts;
        GroupMap groups;
    };

    explicit Dashboard(const Options &options, QObject *parent = nullptr);
    // Locks the file and opens the database. False with a reason when knitfleet must not go on
    // (another knitfleet on the file, a newer schema); a database that does not answer yet is
    // reported on standard error and tried again later.
    bool open(QString *why);
    void start();
    void take(const QByteArray &topic, const QByteArray &payload, bool retained, qint64 receivedMs);
    // Writes all that waits; false when the database failed.
    bool flush();
    // Writes all that waits and sums the shifts due; false when the database failed (tests).
    bool settle(qint64 nowMs);

    DashboardApi::Answer api(const QString &path, const QUrlQuery &query, qint64 nowMs) { return api_.answer(path, query, nowMs); }
    QByteArray liveFull(qint64 nowMs, const QString &group = QString()) const { return live_.full(recorder_, nowMs, group); }
    QJsonArray liveChanges(qint64 nowMs) { return live_.changes(recorder_, nowMs); }
    const LiveFeed &live() const { return live_; }

    const Options &options() const { return options_; }
    FleetDb &db() { return db_; }
    ShiftStore &shifts() { return shifts_; }
    ParetoStore &paretos() { return paretos_; }
    AlertEngine &alerts() { return alerts_; }
    const AlertEngine &alerts() const { return alerts_; }
    HistoryQueries &history() { return history_; }
    const Recorder &recorder() const { return recorder_; }
    const DbWriter &writer() const { return writer_; }
    const WriteQueue &queue() const { return queue_; }
    AuditLog &audit() { return audit_; }

Q_SIGNALS:
    // The database failed or answers again.
    void healthChanged();

private:
    void maintain();
    void sumShifts();
    // The recent stops, so late reasons find them after a restart too.
    void seedStops();
    void stopWritten(int machine, const Record &stop);

    const Options options_;
    FleetDb db_;
    WriteQueue queue_;
    Recorder recorder_;
    DbWriter writer_;
    AuditLog audit_;
    Retention retention_;
    ShiftStore shifts_;
    ParetoStore paretos_;
    HistoryQueries history_;
    LiveFeed live_;
    AlertEngine alerts_;
    qint64 alertsCheckedMs_ = 0;
    DashboardApi api_;
    QTimer maintenance_;
    QTimer sumMore_;
    qint64 nextRetentionMs_ = 0;
};
