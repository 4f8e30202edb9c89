#pragma once

#include <QStringList>

// knitfleet serve: records the floor and serves the dashboard until SIGINT or SIGTERM.
// Exit codes as sysexits(3) (FleetOptions for the command line): 0 after a signal, 65 a newer
// schema or a bad auth file, 69 when it cannot listen or take its database, 73 when the SQLite
// file's folder cannot be made or written.
int serveCommand(int argc, char **argv, const QStringList &args);
