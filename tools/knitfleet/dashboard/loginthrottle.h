#pragma once

#include <QHash>
#include <QList>
#include <QString>

// How often a login may be tried. Failures are counted per client address and per user over
// kWindowMs: after each, that address and user wait before their next check (1, 2, 4, 8 s),
// and the kLockFailures-th within the window locks them for kLockMs. At most kMaxAddresses
// addresses are told apart; past that the rest share one count.
class LoginThrottle
{
public:
    static constexpr qint64 kWindowMs = 10 * 60 * 1000;
    static constexpr qint64 kLockMs = 60 * 1000;
    static constexpr int kLockFailures = 5;
    static constexpr int kMaxAddresses = 4096;

    // Milliseconds before a login from the address as the user may be checked; 0: now. An
    // empty user is the address's alone.
    qint64 wait(const QString &address, const QString &user, qint64 nowMs) const;
    // Counts a failed check; returns the failures of the address within the window, and in
    // *waitMs how long it now waits.
    int fail(const QString &address, const QString &user, qint64 nowMs, qint64 *waitMs);
    // A right login clears its address's count.
    void succeed(const QString &address);

private:
    struct Count
    {
        QList<qint64> failures; // the last kLockFailures, oldest first
        qint64 until = 0;       // no check before
    };
    static qint64 count(Count &c, qint64 nowMs);
    QString addressKey(const QString &address, qint64 nowMs);

    QHash<QString, Count> addresses_;
    QHash<QString, Count> users_;
};
