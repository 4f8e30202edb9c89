#pragma once

#include "groupmap.h"
#include "recorder.h"
#include "shiftplan.h"

#include <QByteArray>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>

// The live floor's rows: one per machine (state knitting, stopped, alarm or offline, job,
// row/rows, speed, pieces/target, alarm text, last seen, stale when silent over staleS; its
// group, the standing stop's start and reason, the ETA to the minute and whether it falls in the
// open shift, the panel's configuration error), and which of them changed since the last push,
// so an open page gets only those.
class LiveFeed
{
public:
    LiveFeed(int staleS, const ShiftPlan &plan);
    void setGroups(const GroupMap &groups) { groups_ = groups; }

    QJsonObject row(const FleetState::Machine &m, const Recorder::Extra &x, qint64 nowMs) const;
    // {"type":"full","machines":[...]} with every machine of `group` (all when empty), alarms first.
    QByteArray full(const Recorder &recorder, qint64 nowMs, const QString &group = QString()) const;
    // The rows of those changed since the last call.
    QJsonArray changes(const Recorder &recorder, qint64 nowMs);
    // The rows of `group`.
    static QJsonArray ofGroup(const QJsonArray &rows, const QString &group);
    // {"type":TYPE,"machines":ROWS}.
    static QByteArray message(const char *type, const QJsonArray &rows);
    // The ETA as the pages show it (to the minute), null when unknown, and whether it falls in
    // the open shift.
    QJsonValue eta(qint64 etaMs) const;
    bool etaInShift(qint64 etaMs, qint64 nowMs) const;

private:
    const int staleS_;
    const ShiftPlan plan_;
    GroupMap groups_;
    QHash<QString, QJsonObject> sent_;
};
