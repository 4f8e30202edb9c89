#include "brokerurl.h"

#include <QHostAddress>

namespace {

constexpr int kMaxHostLength = 253;

} // namespace

bool BrokerUrl::parse(const QString &text, BrokerUrl *url, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    BrokerUrl u;
    QString rest;
    if (text.startsWith(QLatin1String("mqtt://"))) {
        rest = text.mid(7);
    } else if (text.startsWith(QLatin1String("mqtts://"))) {
        rest = text.mid(8);
        u.tls = true;
        u.port = kTlsPort;
    } else {
        return fail(QStringLiteral("url must begin with mqtt:// or mqtts://"));
    }
    if (rest.endsWith(QLatin1Char('/')))
        rest.chop(1);
    if (rest.contains(QLatin1Char('@')))
        return fail(QStringLiteral("url must not carry a login: use username and password"));
    if (rest.contains(QLatin1Char('/')) || rest.contains(QLatin1Char('?')) || rest.contains(QLatin1Char('#')))
        return fail(QStringLiteral("url must be mqtt://host[:port] with no path"));
    QString portText;
    if (rest.startsWith(QLatin1Char('['))) {
        const int close = rest.indexOf(QLatin1Char(']'));
        if (close < 0)
            return fail(QStringLiteral("url has an unclosed [ in its host"));
        u.host = rest.mid(1, close - 1);
        const QString after = rest.mid(close + 1);
        if (!after.isEmpty() && !after.startsWith(QLatin1Char(':')))
            return fail(QStringLiteral("url has characters after its host"));
        portText = after.mid(1);
        if (QHostAddress(u.host).protocol() != QAbstractSocket::IPv6Protocol)
            return fail(QStringLiteral("url has no IPv6 address between [ and ]"));
    } else {
        const int colon = rest.lastIndexOf(QLatin1Char(':'));
        u.host = colon < 0 ? rest : rest.left(colon);
        portText = colon < 0 ? QString() : rest.mid(colon + 1);
        if (!plainAscii(u.host, QLatin1String(".-")))
            return fail(QStringLiteral("url's host may hold only letters, digits, '.' and '-'"));
    }
    if (u.host.isEmpty() || u.host.size() > kMaxHostLength)
        return fail(QStringLiteral("url has no host"));
    if (rest.contains(QLatin1Char(':')) && !rest.startsWith(QLatin1Char('[')) && portText.isEmpty())
        return fail(QStringLiteral("url has a ':' but no port"));
    if (!portText.isEmpty()) {
        bool ok = false;
        u.port = portText.toInt(&ok);
        if (!ok || u.port < 1 || u.port > 65535 || portText.startsWith(QLatin1Char('+')))
            return fail(QStringLiteral("url's port must be a number from 1 to 65535"));
    }
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
    const QHostAddress a(host);
    return !a.isNull() && a.isLoopback();
}
