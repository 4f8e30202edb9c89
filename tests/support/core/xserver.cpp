#include "xserver.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <random>
#include <unistd.h>

bool XServer::available(QString *why)
{
    for (const char *program : {"Xvfb", "xdotool"}) {
        if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty()) {
            *why = QStringLiteral("%1 not found: install it with scripts/setup.sh").arg(QLatin1String(program));
            return false;
        }
    }
    return true;
}

bool XServer::start(QString *error)
{
    std::mt19937 rng(std::random_device{}() ^ unsigned(::getpid()));
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int n = 200 + int(rng() % 700);
        if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) || QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            continue;
        display_ = QStringLiteral(":%1").arg(n);
        xvfb_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        xvfb_.start(QStringLiteral("Xvfb"), {display_, QStringLiteral("-screen"), QStringLiteral("0"),
                                            QStringLiteral("640x480x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!xvfb_.waitForStarted(5000))
            break;
        for (int i = 0; i < 100 && xvfb_.state() == QProcess::Running; ++i) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
                return true;
            QThread::msleep(50);
        }
        stop();
    }
    if (error)
        *error = QStringLiteral("Xvfb did not start");
    return false;
}

void XServer::stop()
{
    if (xvfb_.state() != QProcess::NotRunning) {
        xvfb_.terminate();
        if (!xvfb_.waitForFinished(3000))
            xvfb_.kill();
        xvfb_.waitForFinished(1000);
    }
}

QProcessEnvironment XServer::environment(const QProcessEnvironment &base) const
{
    QProcessEnvironment env = base;
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

bool XServer::key(const QString &name)
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(QStringLiteral("xdotool"), {QStringLiteral("key"), name});
    return p.waitForFinished(5000) && p.exitCode() == 0;
}

bool XServer::screenshot(const QString &pngPath)
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(QStringLiteral(KNITSHOT_PATH), {pngPath});
    return p.waitForFinished(10000) && p.exitCode() == 0;
}
