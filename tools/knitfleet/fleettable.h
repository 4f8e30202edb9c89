#pragma once

#include "telemetry/fleetstate.h"

#include <QList>
#include <QString>
#include <QStringList>

// knitfleet's text table: one line per machine (id, online, running, job, row/rows,
// pieces/target, time since its last message, alarm), columns padded by display width so
// Chinese texts keep them aligned.
class FleetTable
{
public:
    // The header, then at most maxLines lines (0: no limit), the last telling how many more.
    static QStringList lines(const QList<FleetState::Machine> &machines, qint64 nowMs, int maxLines = 0);
    static QString age(qint64 ms);
    // Columns a text takes on a terminal: East Asian wide characters take two.
    static int width(const QString &text);

private:
    static QString pad(const QString &text, int columns);
};
