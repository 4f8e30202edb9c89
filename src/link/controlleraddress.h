#pragma once

#include <QHostAddress>
#include <QString>

// The controller's address as the sockets take it: PanelEnv's IPv4 address in host byte order
// or as a QHostAddress. The QHostAddress forms are inline, so the panel, which takes the number,
// loads no network library.
class ControllerAddress
{
public:
    // The address to send to: the configured one or, when it is refused, one that reaches nobody.
    static quint32 ipv4();
    // False, with the reason, when PanelEnv refuses the configured address.
    static bool configured(QHostAddress *address, QString *error = nullptr)
    {
        quint32 v = 0;
        if (!configuredIpv4(&v, error))
            return false;
        if (address)
            *address = QHostAddress(v);
        return true;
    }
    static QHostAddress current() { return QHostAddress(ipv4()); }

private:
    static bool configuredIpv4(quint32 *address, QString *error);
};
