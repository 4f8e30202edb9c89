#include "rootlayout.h"

#include "panelpaths.h"

#include <QFileInfo>
#include <QStringList>

bool RootLayout::ensure(QString *why)
{
    PanelPaths::ensureLayout();
#ifndef KNIT_PANEL_BUILD
    const QStringList dirs{PanelPaths::tmpDir(), PanelPaths::data(QStringLiteral("/para")),
                           PanelPaths::data(QStringLiteral("/wave"))};
    for (const QString &dir : dirs) {
        const QFileInfo info(dir);
        if (!info.isDir() || !info.isWritable()) {
            *why = QStringLiteral("cannot make or write %1").arg(dir);
            return false;
        }
    }
#else
    Q_UNUSED(why);
#endif
    return true;
}
