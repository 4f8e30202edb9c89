#include "panelenv.h"

#include <cstdio>

namespace {

#ifdef KNIT_PANEL_BUILD
const char kDefaultHost[] = "192.168.1.100";
const int kDefaultOffset = 0;
#else
const char kDefaultHost[] = "127.0.0.1";
const int kDefaultOffset = 10000;
#endif

bool isLoopback(const QHostAddress &a)
{
    bool ok = false;
    const quint32 v = a.toIPv4Address(&ok);
    return ok && (v >> 24) == 127;
}

} // namespace

bool PanelEnv::controllerAddress(QHostAddress *address, QString *error)
{
    const QByteArray env = qgetenv("KNIT_CONTROLLER_HOST");
    const QString text = env.isEmpty() ? QString::fromLatin1(kDefaultHost) : QString::fromLocal8Bit(env);
    QHostAddress a;
    if (!a.setAddress(text) || a.protocol() != QAbstractSocket::IPv4Protocol) {
        if (error)
            *error = QStringLiteral("KNIT_CONTROLLER_HOST '%1' is not an IPv4 address").arg(text);
        return false;
    }
#ifndef KNIT_PANEL_BUILD
    if (!isLoopback(a) && qgetenv("KNIT_ALLOW_REMOTE") != "1") {
        if (error)
            *error = QStringLiteral("KNIT_CONTROLLER_HOST %1 is outside 127.0.0.0/8; a host build talks "
                                    "only to loopback unless KNIT_ALLOW_REMOTE=1 is set").arg(text);
        return false;
    }
#endif
    if (address)
        *address = a;
    return true;
}

QHostAddress PanelEnv::controller()
{
    QHostAddress a;
    QString why;
    if (controllerAddress(&a, &why))
        return a;
    static bool told = false;
    if (!told) {
        std::fprintf(stderr, "knitpanel: %s\n", why.toLocal8Bit().constData());
        told = true;
    }
    // 127.0.0.0 is no host: every command then fails by time-out, as with a controller that is off.
    return QHostAddress(QStringLiteral("127.0.0.0"));
}

int PanelEnv::portOffset()
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue("KNIT_PORT_OFFSET", &ok);
    if (!ok || v < 0 || v > 60000)
        return kDefaultOffset;
    return v;
}

quint16 PanelEnv::port(quint16 base)
{
    const int p = int(base) + portOffset();
    return p > 65535 ? base : quint16(p);
}

double PanelEnv::timeoutScale()
{
    bool ok = false;
    const double v = qEnvironmentVariable("KNIT_TIMEOUT_SCALE").toDouble(&ok);
    return ok && v > 0 && v <= 100 ? v : 1.0;
}

int PanelEnv::scaledMs(int ms)
{
    const double v = ms * timeoutScale();
    return v < 1 ? 1 : int(v + 0.5);
}

bool PanelEnv::isPanelBuild()
{
#ifdef KNIT_PANEL_BUILD
    return true;
#else
    return false;
#endif
}
