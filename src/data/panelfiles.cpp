#include "panelfiles.h"

#include "jobname.h"
#include "machinedata.h"
#include "platform/atomicfile.h"
#include "platform/fsops.h"
#include "platform/panelpaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

// A date file holds two short words; anything longer is not one.
constexpr qint64 kDateFileMax = 4096;

QString managementPath()
{
    return PanelPaths::data(QStringLiteral("/para/management.bin"));
}

// The path that a removal would act on: "." and ".." folded, the folders above resolved through
// their links, the last component itself not followed (a link is removed, not its target).
QString removalTarget(const QString &path)
{
    const QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    const QString parent = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (parent.isEmpty())
        return QString();
    if (info.fileName().isEmpty())
        return parent;
    return parent == QLatin1String("/") ? parent + info.fileName() : parent + QLatin1Char('/') + info.fileName();
}

bool strictlyInsideRoot(const QString &target)
{
    const QString root = QFileInfo(PanelPaths::root()).canonicalFilePath();
    if (root.isEmpty() || target.isEmpty())
        return false;
    if (root == QLatin1String("/"))
        return target != root;
    return target.startsWith(root + QLatin1Char('/'));
}

} // namespace

bool readPanelSettings(MachineData &data)
{
    QFile file(managementPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(qint64(kManagementSize));
    if (file.error() != QFileDevice::NoError)
        return false;
    data.panelSettings().fill(bytes);
    return true;
}

bool writePanelSettings(const MachineData &data)
{
    return AtomicFile::save(managementPath(), data.panelSettings().data(), qint64(kManagementSize));
}

// On disk when it returns: AtomicFile syncs the file and its folder's entry; a sync of every
// disk after it would add only a wait on whatever else is being written.
unsigned char saveWholeFile(const QString &path, const void *data, qint64 length)
{
    return AtomicFile::save(path, data, length) ? 1 : 0;
}

bool makeDirectory(const QString &path)
{
    if (path.isEmpty())
        return false;
    const bool ok = FsOps::makeDir(path);
    FsOps::sync();
    return ok;
}

bool deletePath(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QString target = removalTarget(path);
    if (target.isEmpty())
        return true; // no folder above it, so nothing there to remove
    if (!strictlyInsideRoot(target))
        return false;
    const bool ok = FsOps::removeTree(target);
    FsOps::sync();
    return ok;
}

QString readDateTimeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("error");
    const QByteArray bytes = file.read(kDateFileMax);
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("error");
    const QStringList words = JobName::decode(bytes).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return words.value(0) + QLatin1Char(' ') + words.value(1);
}

bool createDateTimeFile(const QString &path, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return AtomicFile::save(path, bytes.constData(), bytes.size());
}
