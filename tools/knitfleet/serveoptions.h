#pragma once

#include "dashboard/dashboard.h"

#include <QHostAddress>
#include <QString>

// What knitfleet serve records and where it serves, as FleetOptions reads it from the command
// line: the database, sampling, retention, shifts, the listen address, login and TLS files.
struct ServeOptions
{
    Dashboard::Options dashboard;
    QHostAddress listen = QHostAddress(QHostAddress::LocalHost);
    int port = 8080;
    QString authFile;
    QString cert;
    QString key;
};
