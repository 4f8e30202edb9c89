#pragma once

#include <QString>

// Where knitfleet serve records: a SQLite file, or a PostgreSQL database given as
// postgresql://[user@][host][:port]/name. Whatever the URL leaves out comes from libpq's
// environment (PGHOST, PGPORT, PGUSER, ~/.pgpass); a password in the URL is refused, since
// the command line shows in the process list.
class DbTarget
{
public:
    bool postgres = false;
    QString path; // SQLite
    QString user;
    QString host;
    int port = -1;
    QString name;

    static bool parse(const QString &text, DbTarget *target, QString *why);
    // ~/.local/share/knitfleet/fleet.sqlite
    static QString defaultPath();
    // For messages: the file, or the URL as given (it holds no password).
    QString text() const;
};
