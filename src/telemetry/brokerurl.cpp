#include "brokerurl.h"

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

bool ipv4Loopback(quint32 address)
{
    return (address >> 24) == 127;
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
    if (!ipv6 && !plainAscii(u.host, QLatin1String(".-")))
        return fail(QStringLiteral("url's host may hold only letters, digits, '.' and '-'"));
    // QUrl takes "host:" as no port at all.
    if (parsed.port() < 0 && text.section(QLatin1Char('/'), 2, 2).endsWith(QLatin1Char(':')))
        return fail(QStringLiteral("url has a ':' but no port"));
    u.port = parsed.port(u.tls ? kTlsPort : kPlainPort);
    if (u.port < 1)
        return fail(QStringLiteral("url's port must be a number from 1 to 65535"));
#ifndef KNIT_PANEL_BUILD
    if (!isLoopback(u.host) && qgetenv("KNIT_ALLOW_REMOTE") != "1")
        return fail(QStringLiteral("broker %1 is not on loopback; a host build talks only to loopback unless "
                                   "KNIT_ALLOW_REMOTE=1 is set").arg(u.host));
#endif
    *url = u;
    return true;
}

bool BrokerUrl::plainAscii(const QString &text, QLatin1String extra)
{
    for (const QChar c : text) {
        const bool ok = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                        || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || extra.contains(c);
        if (!ok)
            return false;
    }
    return true;
}

QString BrokerUrl::text() const
{
    const QString h = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return (tls ? QStringLiteral("mqtts://") : QStringLiteral("mqtt://")) + h + QLatin1Char(':') + QString::number(port);
}

bool BrokerUrl::isLoopback(const QString &host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    in_addr v4{};
    if (::inet_aton(host.toLatin1().constData(), &v4) != 0)
        return ipv4Loopback(ntohl(v4.s_addr));
    in6_addr v6{};
    if (!ipv6Address(host, &v6))
        return false;
    if (IN6_IS_ADDR_V4MAPPED(&v6)) {
        const unsigned char *b = v6.s6_addr + 12;
        return ipv4Loopback(quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | b[3]);
    }
    return IN6_IS_ADDR_LOOPBACK(&v6);
}
