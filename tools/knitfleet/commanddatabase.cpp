#include "commanddatabase.h"

#include "dashboard/fleetdb.h"

#include <cstdio>
#include <sysexits.h>

int commandFailed(const char *command, int status, const QString &why)
{
    std::fprintf(stderr, "knitfleet %s: %s\n", command, qPrintable(why));
    return status;
}

std::unique_ptr<FleetDb> openCommandDatabase(const char *command, const QString &database, int *status)
{
    DbTarget target;
    QString why;
    if (!DbTarget::parse(database, &target, &why)) {
        *status = commandFailed(command, EX_USAGE, QStringLiteral("--db: %1").arg(why));
        return nullptr;
    }
    auto db = std::make_unique<FleetDb>(target);
    // A serve recording to the same file may hold it for a moment.
    if (!target.postgres)
        db->db().setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db->open(&why)) {
        *status = commandFailed(command, EX_UNAVAILABLE, QStringLiteral("%1: %2").arg(target.text(), why));
        return nullptr;
    }
    return db;
}
