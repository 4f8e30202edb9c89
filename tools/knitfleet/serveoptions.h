#pragma once

#include "dashboard/dashboard.h"

#include <QHostAddress>
#include <QString>
#include <QStringList>

// What knitfleet serve records and where it serves, as FleetOptions reads it from the command
// line: the database, sampling, retention, shifts, halls, the listen address and the names the
// server answers to, login and TLS files, the alerts file.
struct ServeOptions
{
    Dashboard::Options dashboard;
    QHostAddress listen = QHostAddress(QHostAddress::LocalHost);
    int port = 8080;
    QStringList serverNames;
    bool insecureHttp = false; // plain HTTP off loopback, said at start
    QString authFile;
    int sessionIdleS = 8 * 3600; // a login form's session ends unused this long
    QString cert;
    QString key;
    QString alertsFile; // read at start and on SIGHUP
    bool requireApproval = false; // a job version waits for a second supervisor
};
