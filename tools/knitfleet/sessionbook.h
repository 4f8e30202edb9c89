#pragma once

#include "accountbook.h"

#include <QByteArray>
#include <QHash>

// The dashboard's signed-in browsers: each session is a cookie of 256 random bits, kept only
// as its keyed hash (a lookup leaks nothing of the value, a copy of the memory no cookie), with
// its user, role and CSRF token. A session unused for the idle time ends; past kMaxSessions
// the longest idle goes first. Sessions live in memory: a restart signs everyone out.
class SessionBook
{
public:
    static constexpr int kMaxSessions = 10000;
    static constexpr char kCookie[] = "knitfleet_session";

    struct Caller
    {
        QByteArray user;
        UserStore::Role role = UserStore::Role::None;
        QByteArray csrf;   // empty: no session, so no POST
        QByteArray cookie; // the session's own, to end it
    };

    explicit SessionBook(qint64 idleMs);
    // A new session for the account; its cookie's value.
    QByteArray open(const UserStore::Account &account, qint64 nowMs);
    // The session of a Cookie header, kept alive; role None when there is none.
    Caller find(const QByteArray &cookieHeader, qint64 nowMs);
    void close(const QByteArray &cookie);
    // Sessions follow their accounts: a removed account or a changed password ends them, a
    // changed role applies at once.
    void follow(const AccountBook &accounts);
    // Whether a CSRF token given is the session's, compared in constant time.
    static bool sameToken(const QByteArray &given, const QByteArray &expected);

private:
    struct Session
    {
        QByteArray user;
        UserStore::Role role;
        QByteArray hash; // the password's when signed in
        QByteArray csrf;
        qint64 lastMs;
    };
    static QByteArray random();
    QByteArray key(const QByteArray &cookie) const;

    const qint64 idleMs_;
    QByteArray secret_;
    QHash<QByteArray, Session> sessions_; // keyed hash of the cookie -> session
};
