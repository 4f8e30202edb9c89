#include "loginthrottle.h"

namespace {

const QString kOthers = QStringLiteral("*");

} // namespace

qint64 LoginThrottle::wait(const QString &address, const QString &user, qint64 nowMs) const
{
    const auto a = addresses_.constFind(addresses_.contains(address) || addresses_.size() < kMaxAddresses ? address : kOthers);
    const auto u = users_.constFind(user);
    const qint64 until = qMax(a == addresses_.constEnd() ? 0 : a->until, u == users_.constEnd() ? 0 : u->until);
    return qMax<qint64>(0, until - nowMs);
}

qint64 LoginThrottle::count(Count &c, qint64 nowMs)
{
    c.failures.removeIf([nowMs](qint64 t) { return nowMs - t >= kWindowMs; });
    c.failures.append(nowMs);
    if (c.failures.size() > kLockFailures)
        c.failures.removeFirst();
    const int n = int(c.failures.size());
    const qint64 waitMs = n >= kLockFailures ? kLockMs : 1000LL << (n - 1);
    c.until = nowMs + waitMs;
    return waitMs;
}

QString LoginThrottle::addressKey(const QString &address, qint64 nowMs)
{
    if (addresses_.contains(address) || addresses_.size() < kMaxAddresses)
        return address;
    addresses_.removeIf([nowMs](const QHash<QString, Count>::iterator it) {
        return it->until <= nowMs && (it->failures.isEmpty() || nowMs - it->failures.last() >= kWindowMs);
    });
    return addresses_.size() < kMaxAddresses ? address : kOthers;
}

int LoginThrottle::fail(const QString &address, const QString &user, qint64 nowMs, qint64 *waitMs)
{
    Count &a = addresses_[addressKey(address, nowMs)];
    *waitMs = count(a, nowMs);
    if (!user.isEmpty())
        *waitMs = qMax(*waitMs, count(users_[user], nowMs));
    return int(a.failures.size());
}

void LoginThrottle::succeed(const QString &address)
{
    addresses_.remove(address);
}
