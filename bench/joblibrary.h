#pragma once
// What bench/joblibrary's figures share: one knitfleet serve with accounts and
// --require-approval on SQLite, beside its own mosquitto, and a supervisor's session. Each
// figure is a function taking the Setup, so more (the panel's import) join main in a line.
#include "brokerprocess.h"
#include "fleetserve.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace JobLibraryBench {

struct Setup
{
    QTemporaryDir dir;
    BrokerProcess broker;
    FleetServe fleet;
    QString db;          // the serve's database file
    QByteArray jar;      // the supervisor's Cookie line
    QByteArray csrf;     // and the session's CSRF token
    QByteArray user = "anna";
    QByteArray password = "anna-pw-1";
};

// The server started and the supervisor logged in; false with the reason printed.
bool start(Setup &s);
// POST /api/library of a job in folder (NAME/NAME.cnt, .pat, .wrk) as the page sends it: the
// reply's status, 0 when none came.
int upload(const Setup &s, const QString &folder, const QByteArray &name);
// Makes the sample job NAME under s.dir with knitjob make's arguments; its folder, empty when
// knitjob failed.
QString makeJob(const Setup &s, const QByteArray &name, const QStringList &arguments);

} // namespace JobLibraryBench
