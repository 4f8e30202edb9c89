#pragma once

#include "formatsteps.h"

#include <QList>

// Formatting and repairing the panel's flash disk while keeping the program and its settings:
// tools, pictures, parameters, Config.ini, the start script, the program and the touch
// calibration are saved to tmp/tmpknit, the disk is unmounted, formatted, mounted again and
// the save put back (the job folder comes back empty). The repair runs the checking tool.
class FlashDiskFormat
{
public:
    static constexpr const char *kPartition = "/dev/ide/host0/bus0/target1/lun0/part1";

    // ready, searchtools, storedisk, umoutdisk, insmoddriver, formatdisk, rmmoddriver, countdisk.
    QList<FormatStep> steps();
    // repairdisk, startrepair.
    QList<FormatStep> repairSteps();

    int ready(QStringList &log);
    int searchtools(QStringList &log);
    int storedisk(QStringList &log);
    int umoutdisk(QStringList &log);
    int insmoddriver(QStringList &log);
    int formatdisk(QStringList &log);
    int rmmoddriver(QStringList &log);
    int countdisk(QStringList &log);
    int repairdisk(QStringList &log);
    int startrepair(QStringList &log);

private:
    bool save();
    bool restore();

    bool formatted_ = false;
};
