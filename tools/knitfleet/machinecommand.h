#pragma once

#include <QStringList>

// knitfleet machine add ID, machine revoke ID, machine list, each with serve's --db: the
// machines that may fetch jobs from the library. add prints the machine's new token alone on
// standard output (the one time it is seen: only its SHA-256 is kept); revoke ends it. Exit
// codes as sysexits(3): 64 a bad command line or machine id, 67 no such machine, 69 the
// database cannot be opened, 73 the machine has a token already.
int machineCommand(const QStringList &args);
