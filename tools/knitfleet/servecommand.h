#pragma once

#include <QStringList>

// knitfleet serve: records the floor and serves the dashboard until SIGINT or SIGTERM.
// Exit codes: 0 after a signal, 1 when it cannot run (database, listen address), 2 for a bad
// command line.
int serveCommand(int argc, char **argv, const QStringList &args);
