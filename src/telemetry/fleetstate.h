#pragma once

#include "telemetrymessages.h"

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>

// knitfleet's picture of the floor: the machines' retained state and status messages merged into
// one entry per machine. Every message is outside input: topics that are no machine's, payloads
// past their bounds and machines beyond kMaxMachines are ignored and counted.
class FleetState
{
public:
    static constexpr int kMaxMachines = 5000;
    static constexpr int kMaxStatus = 16;

    struct Machine
    {
        QString id;
        int online = -1; // 1 online, 0 offline, -1 no status seen
        bool hasState = false;
        TelemetryMessages::State state;
        qint64 lastMs = 0; // when its last message came
    };

    // Takes one message; false when it was ignored.
    bool take(const QByteArray &topic, const QByteArray &payload, qint64 nowMs);
    // Alarms first, then by id.
    QList<Machine> sorted() const;
    // {"machines":[machine, ...]} in sorted order.
    QByteArray json(qint64 nowMs) const;
    // {"machine","online":true|false|null,"age_s","state":{...}|null}
    static QJsonObject toJson(const Machine &m, qint64 nowMs);
    const Machine *find(const QString &id) const;
    int size() const { return int(machines_.size()); }
    quint64 ignored() const { return ignored_; }

private:
    QHash<QString, Machine> machines_;
    quint64 ignored_ = 0;
};
