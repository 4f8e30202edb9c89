#include "brokerurl.h"

#include "platform/panelenv.h"
#include "platform/strictini.h"

#include <QUrl>

#include <arpa/inet.h>
#include <netinet/in.h>

namespace {

constexpr int kMaxHostLength = 253;

// Addresses read with the C library's parsers: the panel loads no network library for them.
bool ipv6Address(const QString &host, in6_addr *out)
{
    return ::inet_pton(AF_INET6, host.toLatin1().constData(), out) == 1;
}

} // namespace

bool BrokerUrl::parse(const QString &text, BrokerUrl *url, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!text.startsWith(QLatin1String("mqtt://")) && !text.startsWith(QLatin1String("mqtts://")))
        return fail(QStringLiteral("url must begin with mqtt:// or mqtts://"));
    const QUrl parsed(text, QUrl::StrictMode);
    // QUrl's own error quotes the whole URL, a login in it included: never passed on.
    if (!parsed.isValid())
        return fail(QStringLiteral("url is not a valid mqtt://host[:port]"));
    if (!parsed.userInfo().isEmpty())
        return fail(QStringLiteral("url must not carry a login: use username and password"));
    if ((!parsed.path().isEmpty() && parsed.path() != QLatin1String("/")) || parsed.hasQuery() || parsed.hasFragment())
        return fail(QStringLiteral("url must be mqtt://host[:port] with no path"));
    BrokerUrl u;
    u.tls = parsed.scheme() == QLatin1String("mqtts");
    u.host = parsed.host();
    if (u.host.isEmpty() || u.host.size() > kMaxHostLength)
        return fail(QStringLiteral("url has no host"));
    // QUrl takes more than a broker's name: keep to what the panel's resolver and the topics need.
    in6_addr v6{};
    const bool ipv6 = ipv6Address(u.host, &v6);
    if (!ipv6 && !StrictIni::plainAscii(u.host, QLatin1String(".-")))
        return fail(QStringLiteral("url's host may hold only letters, digits, '.' and '-'"));
    // QUrl takes "host:" as no port at all.
    if (parsed.port() < 0 && text.section(QLatin1Char('/'), 2, 2).endsWith(QLatin1Char(':')))
        return fail(QStringLiteral("url has a ':' but no port"));
    u.port = parsed.port(u.tls ? kTlsPort : kPlainPort);
    if (u.port < 1)
        return fail(QStringLiteral("url's port must be a number from 1 to 65535"));
#ifndef KNIT_PANEL_BUILD
    if (!PanelEnv::isLoopbackHost(u.host) && qgetenv("KNIT_ALLOW_REMOTE") != "1")
        return fail(QStringLiteral("broker %1 is not on loopback; a host build talks only to loopback unless "
                                   "KNIT_ALLOW_REMOTE=1 is set").arg(u.host));
#endif
    *url = u;
    return true;
}

QString BrokerUrl::text() const
{
    const QString h = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return (tls ? QStringLiteral("mqtts://") : QStringLiteral("mqtt://")) + h + QLatin1Char(':') + QString::number(port);
}

