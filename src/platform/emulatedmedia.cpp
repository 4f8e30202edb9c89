#include "emulatedmedia.h"

#include "atomicfile.h"
#include "panelpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString driverFlag()
{
    return PanelPaths::resolve(QStringLiteral("/var/usb-storage.loaded"));
}

QString hiddenMedium()
{
    return PanelPaths::resolve(QStringLiteral("/var/media/ide"));
}

// What the empty mount point held while the medium covered it.
QString coveredMountPoint()
{
    return PanelPaths::resolve(QStringLiteral("/var/media/ide-mountpoint"));
}

QString flashMountPoint()
{
    return PanelPaths::resolve(QStringLiteral("/mnt/ide"));
}

bool moveDir(const QString &from, const QString &to)
{
    QDir().mkpath(QFileInfo(to).absolutePath());
    return QDir().rename(from, to);
}

} // namespace

QString EmulatedMedia::panelPath(const QString &path)
{
    const QString root = PanelPaths::root();
    if (root != QLatin1String("/") && path.startsWith(root + QLatin1Char('/')))
        return path.mid(root.size());
    return path;
}

bool EmulatedMedia::isFlashDiskMountPoint(const QString &path)
{
    return QDir::cleanPath(panelPath(path)) == QLatin1String("/mnt/ide");
}

bool EmulatedMedia::deviceExists(const QString &device)
{
    const QString dev = QDir::cleanPath(panelPath(device));
    if (!dev.startsWith(QLatin1String("/dev/")) || !QFileInfo::exists(PanelPaths::resolve(dev)))
        return false;
    return !dev.startsWith(QLatin1String("/dev/scsi/")) || usbDriverLoaded();
}

bool EmulatedMedia::usbDriverLoaded()
{
    return QFileInfo::exists(driverFlag());
}

void EmulatedMedia::setUsbDriverLoaded(bool loaded)
{
    if (!loaded) {
        QFile::remove(driverFlag());
        return;
    }
    QDir().mkpath(QFileInfo(driverFlag()).absolutePath());
    AtomicFile::save(driverFlag(), QByteArray("1\n"));
}

bool EmulatedMedia::flashDiskMounted()
{
    return !QFileInfo::exists(hiddenMedium());
}

bool EmulatedMedia::unmountFlashDisk()
{
    if (!flashDiskMounted() || !moveDir(flashMountPoint(), hiddenMedium()))
        return false;
    if (!QFileInfo::exists(coveredMountPoint()) || !moveDir(coveredMountPoint(), flashMountPoint()))
        QDir().mkpath(flashMountPoint());
    return true;
}

bool EmulatedMedia::mountFlashDisk()
{
    if (flashDiskMounted())
        return false;
    if (QFileInfo::exists(flashMountPoint()) && !moveDir(flashMountPoint(), coveredMountPoint()))
        return false;
    return moveDir(hiddenMedium(), flashMountPoint());
}

QString EmulatedMedia::mediumOf(const QString &device)
{
    const QString dev = panelPath(device);
    if (dev.startsWith(QLatin1String("/dev/scsi/")))
        return PanelPaths::usbRoot();
    if (dev.startsWith(QLatin1String("/dev/ide/")))
        return flashDiskMounted() ? flashMountPoint() : hiddenMedium();
    return QString();
}

void EmulatedMedia::boot()
{
    const QString node = PanelPaths::resolve(QLatin1String(kFlashDiskNode));
    if (!QFileInfo::exists(node)) {
        QDir().mkpath(QFileInfo(node).absolutePath());
        AtomicFile::save(node, QByteArray());
    }
    mountFlashDisk();
}
