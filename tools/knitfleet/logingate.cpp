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
    const QString address = peer.toString();
    const qint64 waitMs = throttle_.wait(address, auth_.hasUser(user) ? QString::fromUtf8(user) : QString(), nowMs);
    if (waitMs > 0)
        return {Verdict::Wait, waitMs};
    if (checking_.contains(address) || checking_.size() >= kMaxChecking)
        return {Verdict::Wait, 1000};
    return {Verdict::Check, 0};
}

void LoginGate::check(const QHostAddress &peer, const QByteArray &authorization, QObject *context,
                      std::function<void(bool, qint64)> done)
{
    const QString address = peer.toString();
    QByteArray user, password;
    const bool basic = AuthFile::basic(authorization, &user, &password);
    checking_.insert(address);
    QPointer<QObject> to(context);
    // The check's result comes back to this object on the event loop; the pool is waited for
    // before this object goes.
    pool_.start([this, auth = auth_, address, authorization, user, password, basic, to, done = std::move(done)] {
        const bool ok = basic && auth.verify(user, password);
        QMetaObject::invokeMethod(this, [this, address, authorization, user, ok, to, done] {
            checking_.remove(address);
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            qint64 waitMs = 0;
            if (ok) {
                throttle_.succeed(address);
                if (remembered_.size() >= kMaxRemembered)
                    remembered_.removeIf([now](const QHash<QByteArray, qint64>::iterator it) { return it.value() <= now; });
                if (remembered_.size() < kMaxRemembered)
                    remembered_.insert(key(authorization), now + kRememberMs);
            } else {
                const int n = throttle_.fail(address, auth_.hasUser(user) ? QString::fromUtf8(user) : QString(), now, &waitMs);
                RefusalLog::line(qPrintable(QStringLiteral("login ") + address),
                                 QStringLiteral("login failed from %1 as \"%2\" (%3 in 10 min%4)")
                                     .arg(address, shown(user)).arg(n)
                                     .arg(waitMs >= LoginThrottle::kLockMs ? QStringLiteral(", locked for 60 s") : QString()));
            }
            if (to)
                done(ok, waitMs);
        }, Qt::QueuedConnection);
    });
}
