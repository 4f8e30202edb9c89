#include "formattools.h"

#include "data/numberformat.h"
#include "platform/diskcapacity.h"
#include "platform/fsops.h"
#include "platform/panelpaths.h"
#include "platform/systemactions.h"

#include <QFileInfo>

QString FormatTools::tmpTool(const QString &name)
{
    return PanelPaths::tmp(QLatin1Char('/') + name);
}

void FormatTools::copyTool(const QString &name)
{
    FsOps::removeTree(tmpTool(name));
    FsOps::copy(PanelPaths::data(QStringLiteral("/tools/") + name), tmpTool(name));
}

bool FormatTools::hasTool(const QString &name)
{
    return QFileInfo(tmpTool(name)).isFile();
}

QString FormatTools::result(const QString &what, bool ok)
{
    return (ok ? tr("%1............成功 !") : tr("%1............失败 !")).arg(what);
}

QString FormatTools::capacity(const QString &path)
{
    quint64 total = 0;
    quint64 free = 0;
    const bool known = DiskCapacity::query(path, &total, &free);
    return tr("U盘容量: %1     剩余容量: %2")
        .arg(known ? sizeText(total) : QString(), known ? sizeText(free) : QString());
}

int FormatTools::runTool(const QString &tool, const QStringList &args)
{
    // By its path in the temporary folder, wherever the panel was started from.
    return SystemActions::run(tmpTool(tool), args);
}
