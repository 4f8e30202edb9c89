#include "userstore.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {

UserStore::Result failed(const QSqlQuery &q, QString *why)
{
    *why = q.lastError().text().trimmed();
    return UserStore::Result::Failed;
}

} // namespace

bool UserStore::validName(const QByteArray &name)
{
    return !name.isEmpty() && name.size() <= kMaxName
        && std::all_of(name.begin(), name.end(), [](char c) { return quint8(c) > 0x20 && quint8(c) < 0x7f && c != ':'; });
}

QByteArray UserStore::roleName(Role role)
{
    switch (role) {
    case Role::Viewer: return "viewer";
    case Role::Supervisor: return "supervisor";
    case Role::Admin: return "admin";
    case Role::None: break;
    }
    return "none";
}

UserStore::Role UserStore::role(const QByteArray &name)
{
    for (const Role r : {Role::Viewer, Role::Supervisor, Role::Admin})
        if (name == roleName(r))
            return r;
    return Role::None;
}

UserStore::Result UserStore::add(QSqlDatabase &db, const Account &account, qint64 nowMs, QString *why)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM users")) || !q.next())
        return failed(q, why);
    if (q.value(0).toLongLong() >= kMaxAccounts)
        return Result::Full;
    q.prepare(QStringLiteral("SELECT 1 FROM users WHERE name = ?"));
    q.addBindValue(QString::fromLatin1(account.name));
    if (!q.exec())
        return failed(q, why);
    if (q.next())
        return Result::Exists;
    q.prepare(QStringLiteral("INSERT INTO users (name, role, hash, created_t, changed_t) VALUES (?, ?, ?, ?, ?)"));
    for (const QVariant &v : {QVariant(QString::fromLatin1(account.name)), QVariant(QString::fromLatin1(roleName(account.role))),
                              QVariant(QString::fromLatin1(account.hash)), QVariant(nowMs), QVariant(nowMs)})
        q.addBindValue(v);
    return q.exec() ? Result::Done : failed(q, why);
}

UserStore::Result UserStore::setHash(QSqlDatabase &db, const QByteArray &name, const QByteArray &hash, qint64 nowMs, QString *why)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("UPDATE users SET hash = ?, changed_t = ? WHERE name = ?"));
    q.addBindValue(QString::fromLatin1(hash));
    q.addBindValue(nowMs);
    q.addBindValue(QString::fromLatin1(name));
    if (!q.exec())
        return failed(q, why);
    return q.numRowsAffected() > 0 ? Result::Done : Result::Missing;
}

UserStore::Result UserStore::remove(QSqlDatabase &db, const QByteArray &name, QString *why)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM users WHERE role = ? AND name <> ?"));
    q.addBindValue(QString::fromLatin1(roleName(Role::Admin)));
    q.addBindValue(QString::fromLatin1(name));
    if (!q.exec() || !q.next())
        return failed(q, why);
    const bool othersAdmin = q.value(0).toLongLong() > 0;
    q.prepare(QStringLiteral("SELECT role FROM users WHERE name = ?"));
    q.addBindValue(QString::fromLatin1(name));
    if (!q.exec())
        return failed(q, why);
    if (q.next() && role(q.value(0).toString().toLatin1()) == Role::Admin && !othersAdmin)
        return Result::LastAdmin;
    q.prepare(QStringLiteral("DELETE FROM users WHERE name = ?"));
    q.addBindValue(QString::fromLatin1(name));
    if (!q.exec())
        return failed(q, why);
    return q.numRowsAffected() > 0 ? Result::Done : Result::Missing;
}

bool UserStore::list(QSqlDatabase &db, QList<Account> *accounts, QString *why)
{
    accounts->clear();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT name, role, hash FROM users ORDER BY name LIMIT %1").arg(kMaxAccounts))) {
        failed(q, why);
        return false;
    }
    while (q.next()) {
        const Account a{q.value(0).toString().toLatin1(), role(q.value(1).toString().toLatin1()), q.value(2).toString().toLatin1()};
        if (validName(a.name) && a.role != Role::None && a.hash.startsWith("$argon2id$") && a.hash.size() <= kMaxHash)
            accounts->append(a);
    }
    return true;
}
