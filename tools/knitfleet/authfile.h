#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// The office's logins for the dashboard: lines user:hash in a file only its owner may read (at
// most 64 KiB, blank lines and # comments skipped), each hash argon2id as libsodium writes it
// (`knitfleet passwd FILE USER` makes and changes them). A plain password, an empty one, a
// file others may read or a longer file is refused whole, saying why. Checking a password
// takes the hash's whole work (about a second, on purpose), so it runs off the event loop:
// verify() is safe on any thread once the file is read.
class AuthFile
{
public:
    static constexpr int kMaxBytes = 64 * 1024;
    static constexpr int kMaxUser = 64;

    bool read(const QString &path, QString *why);
    bool isEmpty() const { return logins_.isEmpty(); }
    bool hasUser(const QByteArray &user) const { return logins_.contains(user); }
    // Whether the password is the user's; an unknown user costs the same work.
    bool verify(const QByteArray &user, const QByteArray &password) const;

    // The user and password of an HTTP basic Authorization value; false if it is not one.
    static bool basic(const QByteArray &authorization, QByteArray *user, QByteArray *password);
    // Sets the user's password in the file (made if missing), written whole with mode 0600.
    static bool setPassword(const QString &path, const QByteArray &user, const QByteArray &password, QString *why);

    // 1 to kMaxUser printable characters without ':'.
    static bool validUser(const QByteArray &user);

private:
    static bool readLines(const QString &path, bool ownerOnly, QList<QByteArray> *lines, QString *why);

    QHash<QByteArray, QByteArray> logins_; // user -> hash
};
