#pragma once

#include "record.h"

#include "telemetry/fleetstate.h"

#include <QByteArray>
#include <QHash>
#include <QSet>

class WriteQueue;

// What knitfleet serve keeps of the messages: the live picture of the floor (FleetState), and
// for the database a sample of a machine whenever its job, running, alarm, pieces, target or
// online changes, else at most one every sampleS seconds, and every alarm event. Receive times
// rise strictly per machine, so a panel's clock or two messages in one millisecond cannot
// reorder or merge its history. A hostile panel is bounded: at most kMaxRate messages a second
// of a machine are taken (the rest dropped and counted), at most kMaxJobsADay job names a
// machine a day are kept (the rest recorded as kOtherJob), and FleetState::kMaxMachines
// machines in all, whatever the topic.
class Recorder
{
public:
    static constexpr int kMaxRate = 10;
    static constexpr int kMaxJobsADay = 200;
    static const QString kOtherJob;

    Recorder(int sampleS, WriteQueue *queue);

    // One message as the broker delivered it; false when it was ignored (and counted).
    bool take(const QByteArray &topic, const QByteArray &payload, bool retained, qint64 receivedMs);
    const FleetState &fleet() const { return fleet_; }
    // Messages ignored: not a machine's topic, past the bounds, wrong types, too many machines.
    quint64 ignored() const { return fleet_.ignored() + ignored_; }
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
        qint64 rateSecond = 0; // the rate's current second, and the messages taken in it
        int inSecond = 0;
        qint64 jobDay = -1; // the day the job names are counted for, and their hashes
        QSet<size_t> jobs;
    };
    bool admit(const QString &id, qint64 receivedMs);
    QString job(Last &last, const QString &name, qint64 receivedMs);
    bool takeAlarm(const QString &id, const QByteArray &payload, qint64 receivedMs);
    void store(Last &last, Record r, qint64 receivedMs);
    static int panelOffset(const QString &panelTime, qint64 receivedMs);

    const qint64 sampleMs_;
    WriteQueue *const queue_;
    FleetState fleet_;
    QHash<QString, Last> last_;
    quint64 ignored_ = 0;
    quint64 dropped_ = 0;
};
