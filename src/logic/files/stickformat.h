#pragma once

#include "formatsteps.h"

#include <QList>

// Formatting the USB stick: copy the formatting tool, reload the storage driver, format the
// stick (its partition 1 when it has exactly one, else the whole stick), then mount it once to
// show its capacity.
class StickFormat
{
public:
    // ready, searchtools, umoutdisk, insmoddriver, formatdisk, rmmoddriver, countdisk.
    QList<FormatStep> steps();

    int ready(QStringList &log);
    int searchtools(QStringList &log);
    int umoutdisk(QStringList &log);
    int insmoddriver(QStringList &log);
    int formatdisk(QStringList &log);
    int rmmoddriver(QStringList &log);
    int countdisk(QStringList &log);
};
