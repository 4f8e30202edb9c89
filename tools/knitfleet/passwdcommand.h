#pragma once

#include <QStringList>

// knitfleet passwd FILE USER: sets USER's password in serve's auth file (made if missing, mode
// 0600) from the first line of standard input, asked twice without echo on a terminal. Exit
// codes as sysexits(3): 64 a bad command line, 65 an empty password or two that differ, 73 the
// file cannot be written.
int passwdCommand(const QStringList &args);
