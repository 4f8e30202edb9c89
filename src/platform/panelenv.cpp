#include "panelenv.h"

#include "paneldefaults.h"

#include <QByteArray>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <cstdio>

namespace {

// 127.0.0.0 is no host: every command then fails by time-out, as with a controller that is off.
const quint32 kNobody = 0x7F000000;

} // namespace

bool PanelEnv::controllerIpv4(quint32 *address, QString *error)
{
    const QByteArray env = qgetenv("KNIT_CONTROLLER_HOST");
    const QByteArray text = env.isEmpty() ? QByteArray(PanelDefaults::kControllerHost) : env;
    in_addr a{};
    if (::inet_pton(AF_INET, text.constData(), &a) != 1) {
        if (error)
            *error = QStringLiteral("KNIT_CONTROLLER_HOST '%1' is not an IPv4 address").arg(QString::fromLocal8Bit(text));
        return false;
    }
    const quint32 v = ntohl(a.s_addr);
#ifndef KNIT_PANEL_BUILD
    if ((v >> 24) != 127 && qgetenv("KNIT_ALLOW_REMOTE") != "1") {
        if (error)
            *error = QStringLiteral("KNIT_CONTROLLER_HOST %1 is outside 127.0.0.0/8; a host build talks "
                                    "only to loopback unless KNIT_ALLOW_REMOTE=1 is set").arg(QString::fromLocal8Bit(text));
        return false;
    }
#endif
    if (address)
        *address = v;
    return true;
}

quint32 PanelEnv::controllerIpv4OrNobody()
{
    quint32 v = 0;
    QString why;
    if (controllerIpv4(&v, &why))
        return v;
    // Said once, at the first refusal: the variable does not change while the program runs.
    static const int told = std::fprintf(stderr, "knitpanel: %s\n", why.toLocal8Bit().constData());
    Q_UNUSED(told)
    return kNobody;
}

int PanelEnv::portOffset()
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue("KNIT_PORT_OFFSET", &ok);
    if (!ok || v < 0 || v > PanelDefaults::kMaxPortOffset)
        return PanelDefaults::kPortOffset;
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

bool PanelEnv::isLoopbackHost(const QString &host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const auto loopback4 = [](quint32 address) { return (address >> 24) == 127; };
    const QByteArray latin = host.toLatin1();
    in_addr v4{};
    if (::inet_aton(latin.constData(), &v4) != 0)
        return loopback4(ntohl(v4.s_addr));
    in6_addr v6{};
    if (::inet_pton(AF_INET6, latin.constData(), &v6) != 1)
        return false;
    if (IN6_IS_ADDR_V4MAPPED(&v6)) {
        const unsigned char *b = v6.s6_addr + 12;
        return loopback4(quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | b[3]);
    }
    return IN6_IS_ADDR_LOOPBACK(&v6);
}

bool PanelEnv::mayReach(const QString &host)
{
    return isPanelBuild() || isLoopbackHost(host) || qgetenv("KNIT_ALLOW_REMOTE") == "1";
}
