#pragma once

#include "authfile.h"

#include "dashboard/loginthrottle.h"

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QSet>
#include <QThreadPool>

#include <functional>

// Checks the dashboard's logins: an auth file's basic login on a request, or an account's
// password from the login form. A basic login checked right is remembered for kRememberMs (by
// a keyed hash of the header, never the password), so a script's requests cost nothing more;
// any other is checked off the event loop, one at a time, at most one per client address at
// once and as LoginThrottle allows. Each failure is a line on standard error (time, address,
// user; never the password); every check's outcome is told by loginChecked.
class LoginGate : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 kRememberMs = 10 * 60 * 1000;
    static constexpr int kMaxRemembered = 256;
    static constexpr int kMaxChecking = 16;

    enum class Verdict {
        Open,    // no auth file, or a login known right
        Missing, // no login given
        Wait,    // not checked: this address or user waits (waitMs), or too many checks run
        Check,   // to be checked
    };
    struct Decision
    {
        Verdict verdict = Verdict::Open;
        qint64 waitMs = 0;
    };

    explicit LoginGate(const AuthFile &auth, QObject *parent = nullptr);
    ~LoginGate() override;

    using Done = std::function<void(bool ok, qint64 waitMs)>;

    bool hasAuthFile() const { return !auth_.isEmpty(); }
    Decision decide(const QHostAddress &peer, const QByteArray &authorization, qint64 nowMs) const;
    // Checks the login off the event loop, then calls done on it (unless context is gone): ok,
    // or the failure's wait in ms before it is answered.
    void check(const QHostAddress &peer, const QByteArray &authorization, QObject *context, Done done);
    // The same for an account's password from the form; known: whether the user exists, hash
    // the account's (or another's, so an unknown user costs the same work).
    Decision decideAccount(const QHostAddress &peer, const QByteArray &user, bool known, qint64 nowMs) const;
    void checkAccount(const QHostAddress &peer, const QByteArray &user, bool known, const QByteArray &password,
                      const QByteArray &hash, QObject *context, Done done);

Q_SIGNALS:
    // Every checked login, right or wrong: where the audit hooks in.
    void loginChecked(const QString &address, const QByteArray &user, bool ok);

private:
    QByteArray key(const QByteArray &authorization) const;
    Decision throttled(const QString &address, const QString &user, qint64 nowMs) const;
    // Runs verify on the pool, then counts the outcome; remember: the basic login's key.
    void run(const QString &address, const QByteArray &user, bool known, std::function<bool()> verify,
             const QByteArray &remember, QObject *context, Done done);

    const AuthFile auth_;
    QByteArray secret_; // keys the remembered logins' hashes
    QHash<QByteArray, qint64> remembered_; // keyed hash -> until
    QSet<QString> checking_;               // addresses with a check running
    LoginThrottle throttle_;
    QThreadPool pool_;
};
