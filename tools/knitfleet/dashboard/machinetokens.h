#pragma once

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>

// The machines that may fetch jobs from the library, each with a token of 256 random bits that
// the panel sends as "Authorization: Bearer TOKEN". Only the token's SHA-256 is kept (the
// token's own entropy makes a slow hash pointless), in machine_tokens beside the accounts; a
// revoked machine keeps its row, without a valid token, until it is added again.
class MachineTokens
{
public:
    enum class Result { Done, Exists, Missing, Failed };
    struct Machine
    {
        QString id;
        bool active = false;
    };

    // A new token: 43 characters of base64url.
    static QByteArray newToken();
    static QString digest(const QByteArray &token);
    static Result add(QSqlDatabase &db, const QString &id, const QString &digest, qint64 nowMs, QString *why);
    static Result revoke(QSqlDatabase &db, const QString &id, qint64 nowMs, QString *why);
    static bool list(QSqlDatabase &db, QList<Machine> *out, QString *why);
    // The machine of a token not revoked; empty when there is none, *failed when the database
    // did not answer.
    static QString find(QSqlDatabase &db, const QByteArray &token, bool *failed);
};
