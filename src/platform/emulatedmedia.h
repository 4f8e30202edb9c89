#pragma once

#include <QString>

// The host build's stand-in for the panel's devices: a device node is a file under
// $KNIT_ROOT/dev (the stick's /dev/scsi nodes only while the emulated USB storage driver is
// loaded), the driver is loaded while var/usb-storage.loaded exists, and an unmounted flash
// disk keeps its files in var/media/ide until its partition is mounted on /mnt/ide again.
class EmulatedMedia
{
public:
    static constexpr const char *kFlashDiskNode = "/dev/ide/host0/bus0/target1/lun0/part1";

    // device: a "/dev/..." path, with or without the root in front.
    static bool deviceExists(const QString &device);
    static bool usbDriverLoaded();
    static void setUsbDriverLoaded(bool loaded);

    static bool flashDiskMounted();
    // False when there was nothing to unmount / the disk was mounted already, as umount and
    // mount say.
    static bool unmountFlashDisk();
    static bool mountFlashDisk();
    // Where the device's files are now: the stick's nodes give mnt/usb, the flash disk's give
    // mnt/ide or, unmounted, its hidden medium. Empty for any other device.
    static QString mediumOf(const QString &device);

    // As after the panel booted: the flash disk's node exists and its medium is mounted.
    static void boot();

    // path without the root in front ("/dev/..."); other paths as they are.
    static QString panelPath(const QString &path);
    static bool isFlashDiskMountPoint(const QString &path);
};
