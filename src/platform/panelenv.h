#pragma once

#include <QHostAddress>
#include <QString>

// The environment settings every subsystem shares: controller address, port offset and the
// time-out scale, with the host and panel build defaults.
class PanelEnv
{
public:
    // The controller's address. False (with an operator-readable reason) when the address does
    // not parse, or, in a host build, lies outside 127.0.0.0/8 without KNIT_ALLOW_REMOTE=1.
    static bool controllerAddress(QHostAddress *address, QString *error = nullptr);
    // The address to use: controllerAddress() or, when refused, an address that reaches nobody
    // (the reason is printed once to standard error).
    static QHostAddress controller();

    static int portOffset();
    // A base port (69, 2001, 2700, 2800, 2900, 3000) moved by KNIT_PORT_OFFSET.
    static quint16 port(quint16 base);

    static double timeoutScale();
    // A protocol time-out in milliseconds times KNIT_TIMEOUT_SCALE, at least 1.
    static int scaledMs(int ms);

    static bool isPanelBuild();
};
