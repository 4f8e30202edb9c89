#pragma once

#include <QSqlDatabase>
#include <QString>

// The recording's schema as numbered steps. Each step runs in a transaction of its own together
// with the new version number, so a failure leaves the database at the last whole step. A
// database of a newer knitfleet is refused rather than written in a shape it does not know.
class Migrations
{
public:
    static int latest();
    // The database's version: 0 for an empty one, -1 when it cannot be read.
    static int version(QSqlDatabase &db);
    // Brings the database to upTo (the latest by default); false with a reason.
    static bool apply(QSqlDatabase &db, bool postgres, QString *why, int upTo = latest());
};
