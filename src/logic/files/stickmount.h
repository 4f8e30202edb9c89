#pragma once

#include <QByteArray>
#include <QString>

// The USB stick's mounting as every stick page does it: reload the storage driver, mount
// partition 1 when the stick has exactly one partition (else the whole stick), with UTF-8
// names when the panel has the UTF-8 character-set module, else code page 936.
class StickMount
{
public:
    static constexpr const char *kDevice = "/dev/scsi/host0/bus0/target0/lun0";

    // umount, rmmod, insmod, then the mount; true when the mount succeeded.
    static bool mount();
    // umount /mnt/usb and rmmod usb-storage, so the stick may be pulled out.
    static void unmount();
    static void loadDriver();   // insmod /usr/driver/usb-storage.o
    static void unloadDriver(); // rmmod usb-storage

    // How many of the nodes part1 … part4 exist.
    static int partitionCount();
    // part1 when exactly one partition exists, else disc.
    static QString device();
    static bool utf8Names();
    // The bytes a name is written with on the stick: UTF-8 under the UTF-8 module, else GBK
    // where the name has a GBK form.
    static QByteArray nameBytes(const QString &name);
    // The stick's root as bytes, and whether a path lies at or below it.
    static QByteArray rootBytes();
    static bool isInside(const QByteArray &path);
};
