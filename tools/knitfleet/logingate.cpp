#include "logingate.h"

#include "refusallog.h"

#include <QDateTime>
#include <QPointer>

#include <sodium.h>

namespace {

// An attacker's user name as a log may show it.
QString shown(const QByteArray &user)
{
    QByteArray s = user.left(AuthFile::kMaxUser);
    for (char &c : s)
        c = quint8(c) < 0x20 || quint8(c) >= 0x7f ? '?' : c;
    return QString::fromLatin1(s);
}

} // namespace

LoginGate::LoginGate(const AuthFile &auth, QObject *parent)
    : QObject(parent)
    , auth_(auth)
    , secret_(crypto_generichash_KEYBYTES, '\0')
{
    randombytes_buf(secret_.data(), std::size_t(secret_.size()));
    // One check at a time: each takes the hash's memory (64 MiB) and about a second of a core.
    pool_.setMaxThreadCount(1);
}

LoginGate::~LoginGate()
{
    pool_.clear();
    pool_.waitForDone();
}

QByteArray LoginGate::key(const QByteArray &authorization) const
{
    QByteArray out(crypto_generichash_BYTES, '\0');
    crypto_generichash(reinterpret_cast<unsigned char *>(out.data()), std::size_t(out.size()),
                       reinterpret_cast<const unsigned char *>(authorization.constData()), quint64(authorization.size()),
                       reinterpret_cast<const unsigned char *>(secret_.constData()), std::size_t(secret_.size()));
    return out;
}

LoginGate::Decision LoginGate::decide(const QHostAddress &peer, const QByteArray &authorization, qint64 nowMs) const
{
    if (auth_.isEmpty())
        return {Verdict::Open, 0};
    if (authorization.isEmpty())
        return {Verdict::Missing, 0};
    if (remembered_.value(key(authorization)) > nowMs)
        return {Verdict::Open, 0};
    QByteArray user, password;
    AuthFile::basic(authorization, &user, &password);
    return throttled(peer.toString(), auth_.hasUser(user) ? QString::fromUtf8(user) : QString(), nowMs);
}

LoginGate::Decision LoginGate::decideAccount(const QHostAddress &peer, const QByteArray &user, bool known, qint64 nowMs) const
{
    return throttled(peer.toString(), known ? QString::fromUtf8(user) : QString(), nowMs);
}

LoginGate::Decision LoginGate::throttled(const QString &address, const QString &user, qint64 nowMs) const
{
    const qint64 waitMs = throttle_.wait(address, user, nowMs);
    if (waitMs > 0)
        return {Verdict::Wait, waitMs};
    if (checking_.contains(address) || checking_.size() >= kMaxChecking)
        return {Verdict::Wait, 1000};
    return {Verdict::Check, 0};
}

void LoginGate::check(const QHostAddress &peer, const QByteArray &authorization, QObject *context, Done done)
{
    QByteArray user, password;
    const bool basic = AuthFile::basic(authorization, &user, &password);
    run(peer.toString(), user, auth_.hasUser(user), [auth = auth_, user, password, basic] { return basic && auth.verify(user, password); },
        authorization, context, std::move(done));
}

void LoginGate::checkAccount(const QHostAddress &peer, const QByteArray &user, bool known, const QByteArray &password,
                             const QByteArray &hash, QObject *context, Done done)
{
    run(peer.toString(), user, known, [known, password, hash] {
        const bool match = !hash.isEmpty()
                        && crypto_pwhash_str_verify(hash.constData(), password.constData(), quint64(password.size())) == 0;
        return match && known;
    }, QByteArray(), context, std::move(done));
}

void LoginGate::run(const QString &address, const QByteArray &user, bool known, std::function<bool()> verify,
                    const QByteArray &remember, QObject *context, Done done)
{
    checking_.insert(address);
    QPointer<QObject> to(context);
    // The check's result comes back to this object on the event loop; the pool is waited for
    // before this object goes.
    pool_.start([this, address, user, known, verify = std::move(verify), remember, to, done = std::move(done)] {
        const bool ok = verify();
        QMetaObject::invokeMethod(this, [this, address, user, known, remember, ok, to, done] {
            checking_.remove(address);
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            qint64 waitMs = 0;
            if (ok) {
                throttle_.succeed(address);
                if (remembered_.size() >= kMaxRemembered)
                    remembered_.removeIf([now](const QHash<QByteArray, qint64>::iterator it) { return it.value() <= now; });
                if (!remember.isEmpty() && remembered_.size() < kMaxRemembered)
                    remembered_.insert(key(remember), now + kRememberMs);
            } else {
                const int n = throttle_.fail(address, known ? QString::fromUtf8(user) : QString(), now, &waitMs);
                RefusalLog::line(qPrintable(QStringLiteral("login ") + address),
                                 QStringLiteral("login failed from %1 as \"%2\" (%3 in 10 min%4)")
                                     .arg(address, shown(user)).arg(n)
                                     .arg(waitMs >= LoginThrottle::kLockMs ? QStringLiteral(", locked for 60 s") : QString()));
            }
            Q_EMIT loginChecked(address, user, ok);
            if (to)
                done(ok, waitMs);
        }, Qt::QueuedConnection);
    });
}
