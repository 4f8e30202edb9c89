#include "flashdiskformat.h"

#include "formattools.h"

#include "data/panelfiles.h"
#include "platform/fsops.h"
#include "platform/panelpaths.h"
#include "platform/systemactions.h"

#include <QDir>
#include <QFileInfo>

namespace {

// What survives a formatting, relative to the data root.
const char *const kKept[] = {"tools", "image", "para", "Config.ini", "initknit.sh", "knit", "pointercal"};

QString saveArea()
{
    return PanelPaths::tmp(QStringLiteral("/tmpknit"));
}

QString partition()
{
    return PanelPaths::resolve(QLatin1String(FlashDiskFormat::kPartition));
}

} // namespace

QList<FormatStep> FlashDiskFormat::steps()
{
    using namespace std::placeholders;
    return {
        {"ready", std::bind(&FlashDiskFormat::ready, this, _1)},
        {"searchtools", std::bind(&FlashDiskFormat::findTools, this, _1)},
        {"storedisk", std::bind(&FlashDiskFormat::storeDisk, this, _1)},
        {"umoutdisk", std::bind(&FlashDiskFormat::unmountDisk, this, _1)},
        {"insmoddriver", std::bind(&FlashDiskFormat::loadStickDriver, this, _1)},
        {"formatdisk", std::bind(&FlashDiskFormat::formatDisk, this, _1)},
        {"rmmoddriver", std::bind(&FlashDiskFormat::unloadStickDriver, this, _1)},
        {"countdisk", std::bind(&FlashDiskFormat::countDisks, this, _1)},
    };
}

QList<FormatStep> FlashDiskFormat::repairSteps()
{
    using namespace std::placeholders;
    return {
        {"repairdisk", std::bind(&FlashDiskFormat::repairDisk, this, _1)},
        {"startrepair", std::bind(&FlashDiskFormat::startRepair, this, _1)},
    };
}

int FlashDiskFormat::ready(QStringList &)
{
    FormatTools::copyTool(QStringLiteral("mkdosfs"));
    return FormatStep::kPauseMs;
}

int FlashDiskFormat::findTools(QStringList &log)
{
    const bool ok = FormatTools::hasTool(QStringLiteral("mkdosfs"));
    log << FormatTools::result(FormatTools::tr("创建格式化工具"), ok);
    return ok ? FormatStep::kPauseMs : FormatStep::kEnd;
}

bool FlashDiskFormat::save()
{
    // An old save area first: copied into, para would land in para/para and stale parameters
    // would come back.
    if (!FsOps::removeTree(saveArea()) || !FsOps::makeDir(saveArea() + QStringLiteral("/wave")))
        return false;
    for (const char *kept : kKept) {
        const QString from = PanelPaths::data(QLatin1Char('/') + QLatin1String(kept));
        if (QFileInfo::exists(from) && !FsOps::copy(from, saveArea() + QLatin1Char('/') + QLatin1String(kept)))
            return false;
    }
    return true;
}

int FlashDiskFormat::storeDisk(QStringList &log)
{
    log << FormatTools::tr("正在复制需要保存的文件, 请不要作其它的操作, 请等候 ...... !");
    if (save())
        return FormatStep::kPauseMs;
    // Formatting now would lose what did not arrive.
    log << FormatTools::result(FormatTools::tr("复制需要保存的文件"), false);
    return FormatStep::kEnd;
}

int FlashDiskFormat::unmountDisk(QStringList &log)
{
    SystemActions::run(QStringLiteral("umount"), {PanelPaths::resolve(QStringLiteral("/mnt/ide"))});
    const bool ok = !QFileInfo::exists(PanelPaths::dataRoot());
    log << FormatTools::result(FormatTools::tr("卸载电子硬盘模块"), ok);
    return ok ? FormatStep::kPauseMs : FormatStep::kEnd;
}

int FlashDiskFormat::loadStickDriver(QStringList &)
{
    return 0;
}

int FlashDiskFormat::formatDisk(QStringList &log)
{
    log << FormatTools::tr("正在格式化电子硬盘, 请等待 !");
    formatted_ = FormatTools::runTool(QStringLiteral("mkdosfs"), {"-v", "-F", "32", partition()}) == 0;
    return FormatStep::kPauseMs;
}

bool FlashDiskFormat::restore()
{
    for (int i = 0; i < 2; ++i)
        SystemActions::run(QStringLiteral("mount"), {"-t", "vfat", "-o", "codepage=936,iocharset=cp936", partition(),
                                                      PanelPaths::resolve(QStringLiteral("/mnt/ide"))});
    bool ok = makeDirectory(PanelPaths::dataRoot());
    for (const QFileInfo &e : QDir(saveArea()).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        ok = FsOps::copy(e.filePath(), PanelPaths::data(QLatin1Char('/') + e.fileName())) && ok;
    FsOps::sync();
    return ok;
}

int FlashDiskFormat::unloadStickDriver(QStringList &log)
{
    log << FormatTools::tr("正在保存参数,请稍候 ...... !");
    // Mounted and put back even when the formatting failed: the disk must not stay away.
    const bool restored = restore();
    if (!formatted_)
        log << FormatTools::result(FormatTools::tr("格式化电子硬盘"), false);
    if (!restored)
        log << FormatTools::result(FormatTools::tr("恢复保存的文件"), false);
    return formatted_ && restored ? FormatStep::kPauseMs : FormatStep::kEnd;
}

int FlashDiskFormat::countDisks(QStringList &log)
{
    log << QString() << FormatTools::capacity(PanelPaths::dataRoot()) << FormatTools::tr("部分容量为系统内部使用 !");
    return FormatStep::kEnd;
}

int FlashDiskFormat::repairDisk(QStringList &)
{
    FormatTools::copyTool(QStringLiteral("dosfsck"));
    return FormatStep::kPauseMs;
}

int FlashDiskFormat::startRepair(QStringList &log)
{
    log << FormatTools::tr("正在电子硬盘数据, 请等待 !");
    FormatTools::runTool(QStringLiteral("dosfsck"), {"-v", partition()});
    log << FormatTools::tr("正在电子硬盘数据修复完毕 !");
    return countDisks(log);
}
