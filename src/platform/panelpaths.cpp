#include "panelpaths.h"

#include "emulatedmedia.h"

#include <QDir>

QString PanelPaths::root()
{
    const QByteArray env = qgetenv("KNIT_ROOT");
    QString r;
    if (!env.isEmpty()) {
        r = QString::fromLocal8Bit(env);
    } else {
#ifdef KNIT_PANEL_BUILD
        r = QStringLiteral("/");
#else
        r = QDir::homePath() + QStringLiteral("/.local/share/knitpanel/root");
#endif
    }
    while (r.size() > 1 && r.endsWith(QLatin1Char('/')))
        r.chop(1);
    return r;
}

QString PanelPaths::resolve(const QString &panelPath)
{
    const QString r = root();
    if (r == QLatin1String("/"))
        return panelPath.startsWith(QLatin1Char('/')) ? panelPath : QLatin1Char('/') + panelPath;
    return panelPath.startsWith(QLatin1Char('/')) ? r + panelPath : r + QLatin1Char('/') + panelPath;
}

QString PanelPaths::dataRoot() { return resolve(QStringLiteral("/mnt/ide/knit")); }
QString PanelPaths::usbRoot() { return resolve(QStringLiteral("/mnt/usb")); }
QString PanelPaths::tmpDir() { return resolve(QStringLiteral("/tmp")); }
QString PanelPaths::buzzerDevice() { return resolve(QStringLiteral("/dev/buzzer")); }
QString PanelPaths::pointercal() { return resolve(QStringLiteral("/etc/pointercal")); }
QString PanelPaths::data(const QString &relative) { return dataRoot() + relative; }
QString PanelPaths::tmp(const QString &relative) { return tmpDir() + relative; }

void PanelPaths::ensureLayout()
{
#ifndef KNIT_PANEL_BUILD
    QDir().mkpath(tmpDir());
    EmulatedMedia::boot();
    QDir().mkpath(dataRoot() + QStringLiteral("/para"));
    QDir().mkpath(dataRoot() + QStringLiteral("/wave"));
    QDir().mkpath(resolve(QStringLiteral("/dev")));
#endif
}
