#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// System-level actions (mount, umount, insmod/rmmod, date -s, hwclock -w, the FAT tools).
// The panel build hands each, as an argument vector (fork/exec, no shell), to the privileged
// helper knitpanel-sysaction, since the panel itself runs unprivileged. The host build never
// runs them: it emulates each inside KNIT_ROOT and records it, so tests can assert what
// would have been run.
class SystemActions
{
public:
    // Exit status of the action (0 success; 127 when it could not be started or emulated).
    static int run(const QString &program, const QStringList &args);

    // Every action the host build recorded in this root's record file, "program arg arg"; the
    // panel build keeps no record. clearRecorded() removes the file.
    static QStringList recorded();
    static void clearRecorded();
    // Where the host build appends each recorded action: $KNIT_ROOT/var/log/system-actions.log.
    static QString recordFile();

    // Whether a device node ("/dev/...") is there now. The host build's nodes are files under
    // $KNIT_ROOT/dev, the stick's only while the emulated USB storage driver is loaded
    // (insmod .../usb-storage.o loads it, rmmod usb-storage unloads it).
    static bool deviceExists(const QString &device);

    // The panel's clock: system time, plus the offset an emulated "date -s" left (host build).
    static QDateTime now();
};
