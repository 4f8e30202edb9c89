#pragma once

#include <QHostAddress>
#include <QString>

// The controller's address as the sockets take it: PanelEnv's IPv4 address as a QHostAddress.
class ControllerAddress
{
public:
    // False, with the reason, when PanelEnv refuses the configured address.
    static bool configured(QHostAddress *address, QString *error = nullptr);
    // The address to send to: the configured one or, when it is refused, one that reaches nobody.
    static QHostAddress current();
};
