#pragma once

#include "serveoptions.h"

#include "telemetry/mqttclient.h"

#include <QStringList>

class ToolCommandLine;

// knitfleet's command line in one place, the table's and serve's: the broker options both take,
// the table's modes, serve's recording and serving options. Exit statuses as sysexits(3), but a
// --listen beyond loopback without --cert and --key (unless --insecure-http) is refused with 2
// (as is one without logins, once serve has read its accounts).
class FleetOptions
{
public:
    static constexpr int kRefusedListen = 2;

    MqttClient::Options mqtt;
    bool once = false;
    bool json = false;
    bool events = false;
    ServeOptions serve;

    // args: what follows "knitfleet" (serve: what follows "serve"). False when the program ends
    // with *status: 0 after --help or --version, else the error's, its line written.
    bool parse(bool serving, const QStringList &args, int *status);

private:
    bool readBroker(const ToolCommandLine &cl, int *status);
    bool readServe(const ToolCommandLine &cl, int *status);
};
