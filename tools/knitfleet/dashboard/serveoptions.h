#pragma once

#include "dashboard.h"

#include "telemetry/mqttclient.h"

#include <QHostAddress>
#include <QString>
#include <QStringList>

// knitfleet serve's command line, read in one place: the broker (as knitfleet's own options),
// the database, sampling, retention, shifts, and where and how the pages are served. A listen
// address off loopback without --auth-file is refused.
class ServeOptions
{
public:
    MqttClient::Options mqtt;
    Dashboard::Options dashboard;
    QHostAddress listen = QHostAddress(QHostAddress::LocalHost);
    int port = 8080;
    QString authFile;
    QString cert;
    QString key;

    // False with one line why.
    static bool parse(const QStringList &args, ServeOptions *o, QString *why);
    static const char *usage();
};
