#pragma once

#include "formatstep.h"

#include <QList>

// Formatting and repairing the panel's flash disk while keeping the program and its settings:
// tools, pictures, parameters, Config.ini, the start script, the program and the touch
// calibration are saved to tmp/tmpknit, the disk is unmounted, formatted, mounted again and
// the save put back (the job folder comes back empty). The repair runs the checking tool.
class FlashDiskFormat
{
public:
    static constexpr const char *kPartition = "/dev/ide/host0/bus0/target1/lun0/part1";

    // ready, findTools, storeDisk, unmountDisk, loadStickDriver, formatDisk, unloadStickDriver, countDisks.
    QList<FormatStep> steps();
    // repairDisk, startRepair.
    QList<FormatStep> repairSteps();

    int ready(QStringList &log);
    int findTools(QStringList &log);
    int storeDisk(QStringList &log);
    int unmountDisk(QStringList &log);
    int loadStickDriver(QStringList &log);
    int formatDisk(QStringList &log);
    int unloadStickDriver(QStringList &log);
    int countDisks(QStringList &log);
    int repairDisk(QStringList &log);
    int startRepair(QStringList &log);

private:
    bool save();
    bool restore();

    bool formatted_ = false;
};
