#include "usercommand.h"

#ifdef KNIT_SERVE
#include "commanddatabase.h"
#include "passwordprompt.h"

#include "dashboard/auditlog.h"
#include "dashboard/fleetdb.h"
#include "dashboard/userstore.h"

#include <QDateTime>
#include <QSqlError>

#include <sodium.h>
#endif

#include <algorithm>
#include <cstdio>
#include <sysexits.h>

namespace {

const char kUsage[] = "usage: knitfleet user add NAME --role viewer|supervisor|admin [--db DATABASE]\n"
                      "       knitfleet user passwd NAME [--db DATABASE]\n"
                      "       knitfleet user remove NAME [--db DATABASE]\n"
                      "       knitfleet user list [--db DATABASE]\n"
                      "(the password on standard input; NAME 1 to 64 printable characters without ':')\n";

#ifdef KNIT_SERVE
int fail(int code, const QString &why)
{
    return commandFailed("user", code, why);
}

// The new password from standard input as its argon2id hash at libsodium's interactive limits.
bool hashedPassword(QByteArray *hash, QString *why)
{
    QByteArray password;
    if (!PasswordPrompt::read(&password, why))
        return false;
    char out[crypto_pwhash_STRBYTES];
    const bool ok = sodium_init() >= 0
                 && crypto_pwhash_str(out, password.constData(), quint64(password.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                      crypto_pwhash_MEMLIMIT_INTERACTIVE) == 0;
    sodium_memzero(password.data(), std::size_t(password.size()));
    if (!ok)
        *why = QStringLiteral("cannot hash the password (out of memory?)");
    *hash = QByteArray(out);
    return ok;
}

// The change and its audit row in one transaction: a change the audit cannot tell is not made.
UserStore::Result changed(FleetDb &db, const QString &verb, const UserStore::Account &account, qint64 now, QString *why)
{
    QSqlDatabase &d = db.db();
    if (!d.transaction()) {
        *why = d.lastError().text();
        return UserStore::Result::Failed;
    }
    UserStore::Result r = verb == QLatin1String("remove") ? UserStore::remove(d, account.name, why)
                          : verb == QLatin1String("add")  ? UserStore::add(d, account, now, why)
                                                          : UserStore::setHash(d, account.name, account.hash, now, why);
    const QString detail = verb == QLatin1String("add") ? QStringLiteral("role ") + QLatin1String(UserStore::roleName(account.role))
                                                        : QString();
    if (r == UserStore::Result::Done
        && (!AuditLog::write(d, {now, QStringLiteral("user-") + verb, QString::fromLatin1(account.name), {}, {}, detail}, why)
            || !d.commit())) {
        if (why->isEmpty())
            *why = d.lastError().text();
        r = UserStore::Result::Failed;
    }
    if (r != UserStore::Result::Done)
        d.rollback();
    return r;
}

int change(FleetDb &db, const QString &verb, const QByteArray &name, UserStore::Role role)
{
    QString why;
    QByteArray hash;
    // Told before the password is asked for, not after it was typed twice.
    QList<UserStore::Account> accounts;
    if (verb == QLatin1String("add") && UserStore::list(db.db(), &accounts, &why)
        && std::any_of(accounts.cbegin(), accounts.cend(), [&name](const UserStore::Account &a) { return a.name == name; }))
        return fail(EX_CANTCREAT, QStringLiteral("%1 exists already").arg(QLatin1String(name)));
    if (verb != QLatin1String("remove") && !hashedPassword(&hash, &why))
        return fail(EX_DATAERR, why);
    switch (changed(db, verb, {name, role, hash}, QDateTime::currentMSecsSinceEpoch(), &why)) {
    case UserStore::Result::Done: return 0;
    case UserStore::Result::Exists: return fail(EX_CANTCREAT, QStringLiteral("%1 exists already").arg(QLatin1String(name)));
    case UserStore::Result::Missing: return fail(EX_NOUSER, QStringLiteral("no account %1").arg(QLatin1String(name)));
    case UserStore::Result::Full: return fail(EX_CANTCREAT, QStringLiteral("%1 accounts already").arg(UserStore::kMaxAccounts));
    case UserStore::Result::LastAdmin: return fail(EX_NOPERM, QStringLiteral("%1 is the last admin: add another first").arg(QLatin1String(name)));
    case UserStore::Result::Failed: break;
    }
    return fail(EX_UNAVAILABLE, QStringLiteral("%1: %2").arg(db.target().text(), why));
}
#endif

} // namespace

int userCommand(const QStringList &args)
{
#ifndef KNIT_SERVE
    Q_UNUSED(args)
    std::fprintf(stderr, "knitfleet: user is not built in (it comes with serve)\n");
    return EX_UNAVAILABLE;
#else
    QStringList rest = args;
    QString database = DbTarget::defaultPath();
    QString roleText;
    for (const QString &option : {QStringLiteral("--db"), QStringLiteral("--role")}) {
        const qsizetype at = rest.indexOf(option);
        if (at < 0)
            continue;
        if (at + 1 >= rest.size())
            return std::fprintf(stderr, "%s", kUsage), EX_USAGE;
        (option == QLatin1String("--db") ? database : roleText) = rest.takeAt(at + 1);
        rest.removeAt(at);
    }
    const QString verb = rest.value(0);
    const QByteArray name = rest.value(1).toUtf8();
    const UserStore::Role role = UserStore::role(roleText.toUtf8());
    const bool named = verb == QLatin1String("add") || verb == QLatin1String("passwd") || verb == QLatin1String("remove");
    if ((verb == QLatin1String("list") && rest.size() != 1) || (named && (rest.size() != 2 || !UserStore::validName(name)))
        || (!named && verb != QLatin1String("list")) || (verb == QLatin1String("add")) != !roleText.isEmpty()
        || (!roleText.isEmpty() && role == UserStore::Role::None))
        return std::fprintf(stderr, "%s", kUsage), EX_USAGE;
    int status = 0;
    const std::unique_ptr<FleetDb> db = openCommandDatabase("user", database, &status);
    if (!db)
        return status;
    if (named)
        return change(*db, verb, name, role);
    QList<UserStore::Account> accounts;
    QString why;
    if (!UserStore::list(db->db(), &accounts, &why))
        return fail(EX_UNAVAILABLE, QStringLiteral("%1: %2").arg(db->target().text(), why));
    for (const UserStore::Account &a : accounts)
        std::printf("%s %s\n", a.name.constData(), UserStore::roleName(a.role).constData());
    return 0;
#endif
}
