#include "stickmount.h"

#include "data/jobname.h"
#include "platform/panelpaths.h"
#include "platform/systemactions.h"

#include <QFile>
#include <QFileInfo>

namespace {

QString node(const char *name)
{
    return PanelPaths::resolve(QLatin1String(StickMount::kDevice) + QLatin1Char('/') + QLatin1String(name));
}

} // namespace

void StickMount::loadDriver()
{
    SystemActions::run(QStringLiteral("insmod"), {PanelPaths::resolve(QStringLiteral("/usr/driver/usb-storage.o"))});
}

void StickMount::unloadDriver()
{
    SystemActions::run(QStringLiteral("rmmod"), {QStringLiteral("usb-storage")});
}

void StickMount::unmount()
{
    SystemActions::run(QStringLiteral("umount"), {PanelPaths::usbRoot()});
    unloadDriver();
}

int StickMount::partitionCount()
{
    int n = 0;
    for (const char *part : {"part1", "part2", "part3", "part4"})
        n += SystemActions::deviceExists(node(part)) ? 1 : 0;
    return n;
}

QString StickMount::device()
{
    return node(partitionCount() == 1 ? "part1" : "disc");
}

bool StickMount::utf8Names()
{
    return QFileInfo::exists(PanelPaths::resolve(QStringLiteral("/usr/driver/nls_utf8.o")));
}

bool StickMount::mount()
{
    unmount();
    loadDriver();
    const QString options = utf8Names() ? QStringLiteral("iocharset=utf8") : QStringLiteral("codepage=936,iocharset=cp936");
    return SystemActions::run(QStringLiteral("mount"), {"-t", "vfat", "-o", options, device(), PanelPaths::usbRoot()}) == 0;
}

QByteArray StickMount::nameBytes(const QString &name)
{
    return utf8Names() ? name.toUtf8() : JobName::encode(name);
}

QByteArray StickMount::rootBytes()
{
    return QFile::encodeName(PanelPaths::usbRoot());
}

bool StickMount::isInside(const QByteArray &path)
{
    const QByteArray root = rootBytes();
    return path == root || path.startsWith(root + '/');
}
