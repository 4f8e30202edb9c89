#include "machinecommand.h"

#ifdef KNIT_SERVE
#include "commanddatabase.h"

#include "dashboard/auditlog.h"
#include "dashboard/fleetdb.h"
#include "dashboard/machinetokens.h"
#include "telemetry/telemetryconfig.h"

#include <QDateTime>
#include <QSqlError>
#endif

#include <cstdio>
#include <sysexits.h>

namespace {

const char kUsage[] = "usage: knitfleet machine add ID [--db DATABASE]\n"
                      "       knitfleet machine revoke ID [--db DATABASE]\n"
                      "       knitfleet machine list [--db DATABASE]\n"
                      "(ID: the machine of its telemetry.ini, 1 to 32 letters, digits, '-' or '_')\n";

#ifdef KNIT_SERVE
// The change and its audit row in one transaction: a change the audit cannot tell is not made.
int change(FleetDb &db, const QString &verb, const QString &id)
{
    QSqlDatabase &d = db.db();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const QByteArray token = MachineTokens::newToken();
    QString why;
    MachineTokens::Result r = MachineTokens::Result::Failed;
    if (d.transaction())
        r = verb == QLatin1String("add") ? MachineTokens::add(d, id, MachineTokens::digest(token), now, &why)
                                         : MachineTokens::revoke(d, id, now, &why);
    if (r == MachineTokens::Result::Done && (!AuditLog::write(d, {now, QStringLiteral("machine-") + verb, {}, id, {}, {}}, &why) || !d.commit()))
        r = MachineTokens::Result::Failed;
    if (r != MachineTokens::Result::Done)
        d.rollback();
    switch (r) {
    case MachineTokens::Result::Done:
        if (verb == QLatin1String("add"))
            std::printf("%s\n", token.constData());
        return 0;
    case MachineTokens::Result::Exists: return commandFailed("machine", EX_CANTCREAT, QStringLiteral("%1 has a token already: revoke it first").arg(id));
    case MachineTokens::Result::Missing: return commandFailed("machine", EX_NOUSER, QStringLiteral("no machine %1 with a token").arg(id));
    case MachineTokens::Result::Failed: break;
    }
    return commandFailed("machine", EX_UNAVAILABLE, QStringLiteral("%1: %2").arg(db.target().text(), why.isEmpty() ? d.lastError().text() : why));
}
#endif

} // namespace

int machineCommand(const QStringList &args)
{
#ifndef KNIT_SERVE
    Q_UNUSED(args)
    std::fprintf(stderr, "knitfleet: machine is not built in (it comes with serve)\n");
    return EX_UNAVAILABLE;
#else
    QStringList rest = args;
    QString database = DbTarget::defaultPath();
    const qsizetype at = rest.indexOf(QStringLiteral("--db"));
    if (at >= 0 && at + 1 < rest.size()) {
        database = rest.takeAt(at + 1);
        rest.removeAt(at);
    }
    const QString verb = rest.value(0);
    const bool named = verb == QLatin1String("add") || verb == QLatin1String("revoke");
    if (rest.contains(QStringLiteral("--db")) || (named ? rest.size() != 2 || !TelemetryConfig::isMachineId(rest[1])
                                                        : verb != QLatin1String("list") || rest.size() != 1))
        return std::fprintf(stderr, "%s", kUsage), EX_USAGE;
    int status = 0;
    const std::unique_ptr<FleetDb> db = openCommandDatabase("machine", database, &status);
    if (!db)
        return status;
    if (named)
        return change(*db, verb, rest[1]);
    QList<MachineTokens::Machine> machines;
    QString why;
    if (!MachineTokens::list(db->db(), &machines, &why))
        return commandFailed("machine", EX_UNAVAILABLE, QStringLiteral("%1: %2").arg(db->target().text(), why));
    for (const MachineTokens::Machine &m : machines)
        std::printf("%s %s\n", qPrintable(m.id), m.active ? "active" : "revoked");
    return 0;
#endif
}
