#pragma once

#include <QStringList>

// knitfleet user add NAME --role viewer|supervisor|admin, user passwd NAME, user remove NAME,
// user list, each with serve's --db: the dashboard's accounts in its database. The password is
// standard input's first line (asked twice without echo on a terminal) and is stored only as
// its argon2id hash. Exit codes as sysexits(3): 64 a bad command line, 65 a bad password, 67
// no such account, 69 the database cannot be opened, 73 the account exists already or there
// is no room for it.
int userCommand(const QStringList &args);
