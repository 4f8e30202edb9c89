#include "sessionbook.h"

#include "dashboard/requestfields.h"

#include <sodium.h>

SessionBook::SessionBook(qint64 idleMs)
    : idleMs_(idleMs)
    , secret_(crypto_generichash_KEYBYTES, '\0')
{
    randombytes_buf(secret_.data(), std::size_t(secret_.size()));
}

QByteArray SessionBook::random()
{
    QByteArray bytes(32, '\0');
    randombytes_buf(bytes.data(), std::size_t(bytes.size()));
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

QByteArray SessionBook::key(const QByteArray &cookie) const
{
    QByteArray out(crypto_generichash_BYTES, '\0');
    crypto_generichash(reinterpret_cast<unsigned char *>(out.data()), std::size_t(out.size()),
                       reinterpret_cast<const unsigned char *>(cookie.constData()), quint64(cookie.size()),
                       reinterpret_cast<const unsigned char *>(secret_.constData()), std::size_t(secret_.size()));
    return out;
}

QByteArray SessionBook::open(const UserStore::Account &account, qint64 nowMs)
{
    sessions_.removeIf([this, nowMs](const QHash<QByteArray, Session>::iterator it) { return nowMs - it->lastMs >= idleMs_; });
    if (sessions_.size() >= kMaxSessions) {
        auto oldest = sessions_.begin();
        for (auto it = sessions_.begin(); it != sessions_.end(); ++it)
            if (it->lastMs < oldest->lastMs)
                oldest = it;
        sessions_.erase(oldest);
    }
    const QByteArray cookie = random();
    sessions_.insert(key(cookie), Session{account.name, account.role, account.hash, random(), nowMs});
    return cookie;
}

SessionBook::Caller SessionBook::find(const QByteArray &cookieHeader, qint64 nowMs)
{
    for (const QByteArray &cookie : RequestFields::cookies(cookieHeader, kCookie)) {
        const auto it = sessions_.find(key(cookie));
        if (it == sessions_.end())
            continue;
        if (nowMs - it->lastMs >= idleMs_) {
            sessions_.erase(it);
            continue;
        }
        it->lastMs = nowMs;
        return {it->user, it->role, it->csrf, cookie};
    }
    return {};
}

void SessionBook::close(const QByteArray &cookie)
{
    sessions_.remove(key(cookie));
}

void SessionBook::follow(const AccountBook &accounts)
{
    sessions_.removeIf([&accounts](QHash<QByteArray, Session>::iterator it) {
        const UserStore::Account *a = accounts.find(it->user);
        if (a == nullptr || a->hash != it->hash)
            return true;
        it->role = a->role;
        return false;
    });
}

bool SessionBook::sameToken(const QByteArray &given, const QByteArray &expected)
{
    return !expected.isEmpty() && given.size() == expected.size()
        && sodium_memcmp(given.constData(), expected.constData(), std::size_t(given.size())) == 0;
}
