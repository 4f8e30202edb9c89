#include "systembackup.h"

#include "data/machinedata.h"
#include "link/commands.h"
#include "platform/atomicfile.h"
#include "platform/fsops.h"
#include "platform/panelpaths.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

SystemBackup::Result SystemBackup::updateFromFile(MachineData &data, const QString &path, const FileTransfer &transfer)
{
    if (queryCarriageStatus() != 0)
        return Running;
    // The block is read before anything goes out: a short file would reach the controller
    // whole and leave stale words in the system block.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() != qint64(kSystemSize))
        return Unreadable;
    const QByteArray block = file.read(kSystemSize + 1);
    if (block.size() != int(kSystemSize))
        return Unreadable;
    if (!transfer.put(path))
        return UploadFailed;
    FsOps::makeDir(QFileInfo(checkCopy()).absolutePath());
    // AtomicFile has the copy and its folder entry on disk when it returns; a sync of every
    // disk after it would only wait on whatever else is being written.
    const bool copied = AtomicFile::save(checkCopy(), block);
    data.system().fill(block);
    return copied ? Done : CheckCopyFailed;
}

SystemBackup::Result SystemBackup::download(const MachineData &data, const QString &path)
{
    if (queryCarriageStatus() != 0)
        return Running;
    FsOps::makeDir(QFileInfo(path).absolutePath());
    return AtomicFile::save(path, data.system().data(), kSystemSize) ? Done : WriteFailed;
}

QString SystemBackup::exportPath(const QString &name)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,10}$"));
    return digits.match(name).hasMatch() ? PanelPaths::tmp(QLatin1Char('/') + name + QStringLiteral(".sys")) : QString();
}

QString SystemBackup::diskBackup()
{
    return PanelPaths::data(QStringLiteral("/para/quorvanta.sys"));
}

QString SystemBackup::checkCopy()
{
    return PanelPaths::data(QStringLiteral("/para/checksystem.sys"));
}
