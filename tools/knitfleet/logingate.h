#pragma once

#include "authfile.h"

#include "dashboard/loginthrottle.h"

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QSet>
#include <QThreadPool>

#include <functional>

// Who may use the dashboard: with an auth file, every request's basic login. A login checked
// right is remembered for kRememberMs (by a keyed hash of the header, never the password),
// so a page's requests cost nothing more; any other is checked off the event loop, one at a
// time, at most one per client address at once and as LoginThrottle allows. Each failure is a
// line on standard error (time, address, user; never the password).
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

    Decision decide(const QHostAddress &peer, const QByteArray &authorization, qint64 nowMs) const;
    // Checks the login off the event loop, then calls done on it (unless context is gone): ok,
    // or the failure's wait in ms before it is answered.
    void check(const QHostAddress &peer, const QByteArray &authorization, QObject *context,
               std::function<void(bool ok, qint64 waitMs)> done);

private:
    QByteArray key(const QByteArray &authorization) const;
    void finish(const QString &peer, const QByteArray &authorization, const QByteArray &user, bool ok);

    const AuthFile auth_;
    QByteArray secret_; // keys the remembered logins' hashes
    QHash<QByteArray, qint64> remembered_; // keyed hash -> until
    QSet<QString> checking_;               // addresses with a check running
    LoginThrottle throttle_;
    QThreadPool pool_;
};
