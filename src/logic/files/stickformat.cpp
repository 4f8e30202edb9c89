#include "stickformat.h"

#include "formattools.h"
#include "stickmount.h"

#include "platform/panelpaths.h"
#include "platform/systemactions.h"

QList<FormatStep> StickFormat::steps()
{
    using namespace std::placeholders;
    return {
        {"ready", std::bind(&StickFormat::ready, this, _1)},
        {"searchtools", std::bind(&StickFormat::findTools, this, _1)},
        {"umoutdisk", std::bind(&StickFormat::unmountDisk, this, _1)},
        {"insmoddriver", std::bind(&StickFormat::loadStickDriver, this, _1)},
        {"formatdisk", std::bind(&StickFormat::formatDisk, this, _1)},
        {"rmmoddriver", std::bind(&StickFormat::unloadStickDriver, this, _1)},
        {"countdisk", std::bind(&StickFormat::countDisks, this, _1)},
    };
}

int StickFormat::ready(QStringList &)
{
    FormatTools::copyTool(QStringLiteral("mkdosfs"));
    return FormatStep::kPauseMs;
}

int StickFormat::findTools(QStringList &log)
{
    const bool ok = FormatTools::hasTool(QStringLiteral("mkdosfs"));
    log << FormatTools::result(FormatTools::tr("创建格式化工具"), ok);
    return ok ? FormatStep::kPauseMs : FormatStep::kEnd;
}

int StickFormat::unmountDisk(QStringList &log)
{
    StickMount::unmount();
    const bool ok = !SystemActions::deviceExists(PanelPaths::resolve(QLatin1String(StickMount::kDevice)));
    log << FormatTools::result(FormatTools::tr("卸载U盘模块"), ok);
    return ok ? FormatStep::kPauseMs : FormatStep::kEnd;
}

int StickFormat::loadStickDriver(QStringList &log)
{
    StickMount::loadDriver();
    const bool ok = SystemActions::deviceExists(PanelPaths::resolve(QLatin1String(StickMount::kDevice)));
    log << FormatTools::result(FormatTools::tr("重新加载U盘模块"), ok);
    return ok ? FormatStep::kPauseMs : FormatStep::kEnd;
}

int StickFormat::formatDisk(QStringList &log)
{
    log << FormatTools::tr("正在格式化U盘, 请等待 !");
    if (FormatTools::runTool(QStringLiteral("mkdosfs"), {"-v", "-F", "32", StickMount::device()}) == 0)
        return FormatStep::kPauseMs;
    log << FormatTools::result(FormatTools::tr("格式化U盘模块"), false);
    return FormatStep::kEnd;
}

int StickFormat::unloadStickDriver(QStringList &log)
{
    log << FormatTools::result(FormatTools::tr("格式化U盘模块"), true);
    return FormatStep::kPauseMs;
}

int StickFormat::countDisks(QStringList &log)
{
    StickMount::mount();
    const QString capacity = FormatTools::capacity(PanelPaths::usbRoot());
    StickMount::unmount();
    log << QString() << capacity;
    return FormatStep::kEnd;
}
