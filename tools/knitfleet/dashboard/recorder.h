#pragma once

#include "machinepace.h"
#include "messagecheck.h"
#include "telemetry/reasonlist.h"
#include "record.h"
#include "shiftplan.h"
#include "stopbook.h"

#include "telemetry/fleetstate.h"

#include <QByteArray>
#include <QHash>
#include <QSet>

class WriteQueue;

// What knitfleet serve keeps of the messages: the live picture of the floor (FleetState, and
// each machine's stops, pace and configuration error), and for the database a sample of a
// machine whenever its job, running, alarm, pieces, target or online changes, else at most one
// every sampleS seconds, every alarm event and every change of a stop. Receive times rise
// strictly per machine, so a panel's clock or two messages in one millisecond cannot reorder
// or merge its history. A hostile panel is bounded: at most kMaxRate messages a second of a
// machine are taken (the rest dropped and counted), at most kMaxJobsADay job names a machine a
// day are kept (the rest recorded as kOtherJob), and FleetState::kMaxMachines machines in all,
// whatever the topic.
class Recorder
{
public:
    static constexpr int kMaxRate = 10;
    static constexpr int kMaxJobsADay = 200;
    static const QString kOtherJob;

    // What the floor view shows of a machine beside its state.
    struct Extra
    {
        qint64 stopSince = -1; // the standing stop's start
        int code = -1;         // its reason, -1 none
        QString reason;
        bool planned = false;
        qint64 eta = -1;
        double availability = -1; // the open shift's so far
        QString configError;
        QString loaded; // the job last loaded on the panel, and its library version (0: a stick's)
        int version = 0;
    };

    Recorder(int sampleS, WriteQueue *queue, const ShiftPlan &plan = ShiftPlan());

    // One message as the broker delivered it; false when it was ignored (and counted). A job
    // event taken is put in *job when given.
    bool take(const QByteArray &topic, const QByteArray &payload, bool retained, qint64 receivedMs,
              MessageCheck::JobEvent *job = nullptr);
    const FleetState &fleet() const { return fleet_; }
    Extra extra(const QString &machine, qint64 nowMs) const;
    // A stop read back from the database at start (the machine's, oldest first).
    void seedStop(const Record &stop);
    // Forgets the machines not heard from since cutoffMs: their samples are gone.
    void forget(qint64 cutoffMs);
    // Messages ignored: not a machine's topic, past the bounds, wrong types, too many machines.
    quint64 ignored() const { return fleet_.ignored() + ignored_ + fleetIgnoredBefore_; }
    // Messages dropped past a machine's rate.
    quint64 dropped() const { return dropped_; }
    // Machines heard from, on any topic.
    int machines() const { return int(last_.size()); }

private:
    struct Last
    {
        bool stored = false;
        Record sample;
        qint64 t = 0; // the latest time handed out
        qint64 heardMs = 0;
        qint64 rateSecond = 0; // the rate's current second, and the messages taken in it
        int inSecond = 0;
        qint64 jobDay = -1; // the day the job names are counted for, and their hashes
        QSet<size_t> jobs;
        qint64 offsetMs = 0; // the panel's clock less knitfleet's, from its states
        bool liveOffset = false;
        bool hasOffset = false;
        StopBook stops;
        MachinePace pace;
        ReasonList reasons;
        QString configError;
        QString loaded;
        int version = 0;
    };
    bool admit(const QString &id, qint64 receivedMs);
    QString job(Last &last, const QString &name, qint64 receivedMs);
    bool takeState(const QString &id, const QByteArray &topic, const QByteArray &payload, bool retained, qint64 receivedMs);
    bool takeAlarm(const QString &id, const QByteArray &payload, qint64 receivedMs);
    bool takeStop(const QString &id, const QByteArray &payload);
    bool takeConfig(const QString &id, const QByteArray &payload);
    bool takeJob(const QString &id, const QByteArray &payload, MessageCheck::JobEvent *job);
    void store(Last &last, Record r, qint64 receivedMs, bool stateKnown);
    qint64 shiftStart(qint64 ms);
    static qint64 panelMs(const QString &panelTime);
    bool ignore();

    const qint64 sampleMs_;
    WriteQueue *const queue_;
    const ShiftPlan plan_;
    ShiftPlan::Shift shift_;
    FleetState fleet_;
    QHash<QString, Last> last_;
    quint64 ignored_ = 0;
    quint64 fleetIgnoredBefore_ = 0; // of the pictures forgotten machines were dropped from
    quint64 dropped_ = 0;
};
