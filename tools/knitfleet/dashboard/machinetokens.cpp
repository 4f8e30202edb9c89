#include "machinetokens.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <array>

namespace {

bool run(QSqlQuery &q, QString *why)
{
    if (q.exec())
        return true;
    *why = q.lastError().text().trimmed();
    return false;
}

} // namespace

QByteArray MachineTokens::newToken()
{
    std::array<quint32, 8> bits{};
    QRandomGenerator::system()->fillRange(bits.data(), bits.size());
    return QByteArray(reinterpret_cast<const char *>(bits.data()), int(sizeof bits))
        .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

QString MachineTokens::digest(const QByteArray &token)
{
    return QString::fromLatin1(QCryptographicHash::hash(token, QCryptographicHash::Sha256).toHex());
}

MachineTokens::Result MachineTokens::add(QSqlDatabase &db, const QString &id, const QString &digest, qint64 nowMs, QString *why)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT revoked_t FROM machine_tokens WHERE machine = ?"));
    q.addBindValue(id);
    if (!run(q, why))
        return Result::Failed;
    const bool known = q.next();
    if (known && q.value(0).isNull())
        return Result::Exists;
    q.prepare(known ? QStringLiteral("UPDATE machine_tokens SET token_sha256 = ?, created_t = ?, revoked_t = NULL WHERE machine = ?")
                    : QStringLiteral("INSERT INTO machine_tokens (token_sha256, created_t, machine) VALUES (?, ?, ?)"));
    q.addBindValue(digest);
    q.addBindValue(nowMs);
    q.addBindValue(id);
    return run(q, why) ? Result::Done : Result::Failed;
}

MachineTokens::Result MachineTokens::revoke(QSqlDatabase &db, const QString &id, qint64 nowMs, QString *why)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("UPDATE machine_tokens SET revoked_t = ? WHERE machine = ? AND revoked_t IS NULL"));
    q.addBindValue(nowMs);
    q.addBindValue(id);
    if (!run(q, why))
        return Result::Failed;
    return q.numRowsAffected() > 0 ? Result::Done : Result::Missing;
}

bool MachineTokens::list(QSqlDatabase &db, QList<Machine> *out, QString *why)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT machine, revoked_t FROM machine_tokens ORDER BY machine"));
    if (!run(q, why))
        return false;
    while (q.next())
        out->append({q.value(0).toString(), q.value(1).isNull()});
    return true;
}

QString MachineTokens::find(QSqlDatabase &db, const QByteArray &token, bool *failed)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT machine FROM machine_tokens WHERE token_sha256 = ? AND revoked_t IS NULL"));
    q.addBindValue(digest(token));
    QString why;
    *failed = !run(q, &why);
    return !*failed && q.next() ? q.value(0).toString() : QString();
}
