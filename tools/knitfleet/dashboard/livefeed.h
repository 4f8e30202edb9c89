#pragma once

#include "telemetry/fleetstate.h"

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>

// The live page's rows: one per machine (state knitting, stopped, alarm or offline, job,
// row/rows, speed, pieces/target, alarm text, last seen, stale when silent over staleS), and
// which of them changed since the last push, so an open page gets only those.
class LiveFeed
{
public:
    explicit LiveFeed(int staleS);

    static QJsonObject row(const FleetState::Machine &m, qint64 nowMs, int staleS);
    // {"type":"full","machines":[...]} with every machine, alarms first.
    QByteArray full(const FleetState &fleet, qint64 nowMs) const;
    // {"type":"changes","machines":[...]} of those changed since the last call; empty when none.
    QByteArray changes(const FleetState &fleet, qint64 nowMs);

private:
    const int staleS_;
    QHash<QString, QJsonObject> sent_;
};
