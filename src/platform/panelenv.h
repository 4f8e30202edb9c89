#pragma once

#include <QString>

// The environment settings every subsystem shares: controller address, port offset and the
// time-out scale, with the host and panel build defaults.
class PanelEnv
{
public:
    // The controller's IPv4 address (host byte order). False (with an operator-readable reason)
    // when the address is not a dotted IPv4 address, or, in a host build, lies outside
    // 127.0.0.0/8 without KNIT_ALLOW_REMOTE=1.
    static bool controllerIpv4(quint32 *address, QString *error = nullptr);
    // The address to use: controllerIpv4() or, when refused, an address that reaches nobody
    // (the reason is printed once to standard error).
    static quint32 controllerIpv4OrNobody();
    // ControllerAddress (src/link) gives the same to the sockets.

    static int portOffset();
    // A base port (69, 2001, 2700, 2800, 2900, 3000) moved by KNIT_PORT_OFFSET.
    static quint16 port(quint16 base);

    static double timeoutScale();
    // A protocol time-out in milliseconds times KNIT_TIMEOUT_SCALE, at least 1.
    static int scaledMs(int ms);

    static bool isPanelBuild();
    // "localhost" or an address in 127.0.0.0/8 or ::1 (IPv4-mapped ones too): what a host build
    // may reach without KNIT_ALLOW_REMOTE=1.
    static bool isLoopbackHost(const QString &host);
    // A host build keeps to loopback unless KNIT_ALLOW_REMOTE=1; the panel build reaches any.
    static bool mayReach(const QString &host);
};
