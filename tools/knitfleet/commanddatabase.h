#pragma once

#include <QString>

#include <memory>

class FleetDb;

// The database knitfleet user and knitfleet machine change: --db's target opened, its schema
// brought up to date, waiting a while for a serve that records to the same SQLite file. Null
// after one line on standard error ("knitfleet COMMAND: why") with *status 64 (a bad --db) or
// 69 (it cannot be opened).
std::unique_ptr<FleetDb> openCommandDatabase(const char *command, const QString &database, int *status);
// One line "knitfleet COMMAND: why" on standard error; returns status.
int commandFailed(const char *command, int status, const QString &why);
