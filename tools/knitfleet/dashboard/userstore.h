#pragma once

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>

// The dashboard's accounts in the database's users table: a name, a role and the password's
// argon2id hash (made by the caller; the store never sees a password). Names are 1 to
// kMaxName printable ASCII characters without ':' or spaces. At most kMaxAccounts are kept.
class UserStore
{
public:
    static constexpr int kMaxName = 64;
    static constexpr int kMaxAccounts = 10000;
    static constexpr int kMaxHash = 256;

    // Least first: each role may do what the ones before it may.
    enum class Role { None, Viewer, Supervisor, Admin };
    struct Account
    {
        QByteArray name;
        Role role = Role::Viewer;
        QByteArray hash;
    };
    enum class Result { Done, Exists, Missing, Full, LastAdmin, Failed };

    static bool validName(const QByteArray &name);
    static QByteArray roleName(Role role);
    // Viewer, Supervisor or Admin by name; None for anything else.
    static Role role(const QByteArray &name);

    static Result add(QSqlDatabase &db, const Account &account, qint64 nowMs, QString *why);
    static Result setHash(QSqlDatabase &db, const QByteArray &name, const QByteArray &hash, qint64 nowMs, QString *why);
    // LastAdmin: the account is the only admin, who stays (without one nobody could keep the
    // users, the machines and the audit).
    static Result remove(QSqlDatabase &db, const QByteArray &name, QString *why);
    // Every account, by name; rows that break the rules above are skipped.
    static bool list(QSqlDatabase &db, QList<Account> *accounts, QString *why);
};
