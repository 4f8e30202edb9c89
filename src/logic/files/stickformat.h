#pragma once

#include "formatstep.h"

#include <QList>

// Formatting the USB stick: copy the formatting tool, reload the storage driver, format the
// stick (its partition 1 when it has exactly one, else the whole stick), then mount it once to
// show its capacity.
class StickFormat
{
public:
    // ready, findTools, unmountDisk, loadStickDriver, formatDisk, unloadStickDriver, countDisks.
    QList<FormatStep> steps();

    int ready(QStringList &log);
    int findTools(QStringList &log);
    int unmountDisk(QStringList &log);
    int loadStickDriver(QStringList &log);
    int formatDisk(QStringList &log);
    int unloadStickDriver(QStringList &log);
    int countDisks(QStringList &log);
};
