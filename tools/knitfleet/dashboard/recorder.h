#pragma once

#include "record.h"

#include "telemetry/fleetstate.h"

#include <QByteArray>
#include <QHash>

class WriteQueue;

// What knitfleet serve keeps of the messages: the live picture of the floor (FleetState), and
// for the database a sample of a machine whenever its job, running, alarm, pieces, target or
// online changes, else at most one every sampleS seconds, and every alarm event. Receive times
// rise strictly per machine, so a panel's clock or two messages in one millisecond cannot
// reorder or merge its history.
class Recorder
{
public:
    Recorder(int sampleS, WriteQueue *queue);

    // One message as the broker delivered it; false when it was ignored (and counted).
    bool take(const QByteArray &topic, const QByteArray &payload, bool retained, qint64 receivedMs);
    const FleetState &fleet() const { return fleet_; }
    // Messages ignored: not a machine's topic, past the bounds, wrong types, too many machines.
    quint64 ignored() const { return fleet_.ignored() + ignored_; }

private:
    struct Last
    {
        bool stored = false;
        Record sample;
        qint64 t = 0; // the latest time handed out
    };
    bool takeAlarm(const QString &id, const QByteArray &payload, qint64 receivedMs);
    void store(Last &last, Record r, qint64 receivedMs);
    static int panelOffset(const QString &panelTime, qint64 receivedMs);

    const qint64 sampleMs_;
    WriteQueue *const queue_;
    FleetState fleet_;
    QHash<QString, Last> last_;
    quint64 ignored_ = 0;
};
