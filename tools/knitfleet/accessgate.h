#pragma once

#include "accountbook.h"
#include "httpreply.h"
#include "sessionbook.h"

#include <QByteArray>
#include <QString>

// Who may use which route (RouteTable's least role and methods), and the form logins'
// sessions: the caller of a request by its session cookie, the refusal of a request its caller
// may not make (405, a login asked for, 403 for a lesser role or a POST without the session's
// CSRF token), and the replies that sign in and out. Without accounts and without an auth file
// (loopback only) every caller is a viewer.
class AccessGate
{
public:
    using Caller = SessionBook::Caller;
    struct Asked
    {
        QByteArray method; // GET, HEAD, POST or OTHER
        QString path;
        bool ownOrigin = true; // no Origin, or one of this server's
        QByteArray csrf;       // X-CSRF-Token, else the form's csrf field
    };

    AccessGate(const AccountBook *accounts, bool authFile, qint64 idleMs);
    void setTls(bool tls) { tls_ = tls; }
    bool loginNeeded() const { return authFile_ || accounts_->loginNeeded(); }

    Caller caller(const QByteArray &cookieHeader, qint64 nowMs);
    // The refusal, or a reply of status 0 when the caller may go on.
    HttpReply refuse(const Asked &asked, const Caller &caller) const;
    // 303 to the floor with a new session's cookie.
    HttpReply signIn(const UserStore::Account &account, qint64 nowMs);
    // Ends the caller's session: 303 to the login form, the cookie dropped.
    HttpReply signOut(const Caller &caller);
    // {"user","role","csrf"}
    static HttpReply session(const Caller &caller);
    static HttpReply redirect(const QByteArray &to, bool close);
    // The challenge of the auth file's basic login; a browser asks the user for one on it.
    HttpReply loginAsked(bool close) const;
    SessionBook &sessions() { return sessions_; }

private:
    QByteArray cookie(const QByteArray &value, bool drop) const;

    const AccountBook *const accounts_;
    const bool authFile_;
    SessionBook sessions_;
    bool tls_ = false;
};
