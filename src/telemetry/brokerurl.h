#pragma once

#include <QString>

// An MQTT broker's address as written in telemetry.ini or on knitfleet's command line:
// mqtt://host[:port] or mqtts://host[:port] (TLS). A host build keeps to loopback unless
// KNIT_ALLOW_REMOTE=1, as the command link does.
class BrokerUrl
{
public:
    static constexpr int kPlainPort = 1883;
    static constexpr int kTlsPort = 8883;

    QString host;
    int port = kPlainPort;
    bool tls = false;

    // False with a reason when the text is no such URL. A login in the URL is refused (it would
    // end up in traces and messages): username and password are settings of their own.
    static bool parse(const QString &text, BrokerUrl *url, QString *error);
    // The URL again, for messages.
    QString text() const;
};
