#include "accessgate.h"

#include "routetable.h"

#include <QJsonDocument>
#include <QJsonObject>

using Role = UserStore::Role;

AccessGate::AccessGate(const AccountBook *accounts, bool authFile, qint64 idleMs)
    : accounts_(accounts)
    , authFile_(authFile)
    , sessions_(idleMs)
{
}

AccessGate::Caller AccessGate::caller(const QByteArray &cookieHeader, qint64 nowMs)
{
    Caller c = sessions_.find(cookieHeader, nowMs);
    if (c.role == Role::None && !loginNeeded())
        c.role = Role::Viewer;
    return c;
}

HttpReply AccessGate::refuse(const Asked &asked, const Caller &caller) const
{
    const RouteTable::Route &route = RouteTable::find(asked.path);
    const bool post = asked.method == "POST";
    if (asked.method == "OTHER" || !(route.methods & (post ? RouteTable::Post : RouteTable::Get))) {
        HttpReply reply = HttpReply::error(405, "not a method this page takes");
        reply.header("Allow", RouteTable::allowed(route));
        return reply;
    }
    const Role least = RouteTable::least(route, post);
    if (caller.role < least) {
        if (caller.role != Role::None)
            return HttpReply::error(403, "needs the role " + UserStore::roleName(least));
        // A browser asking for a page is shown the login form; scripts get 401.
        const bool page = !post && !asked.path.startsWith(QLatin1String("/api/")) && asked.path != QLatin1String("/ws");
        return page && accounts_->loginNeeded() ? redirect("/login", false) : loginAsked(false);
    }
    if (post && !asked.ownOrigin)
        return HttpReply::error(403, "a form of another site");
    if (post && asked.path != QLatin1String("/login") && !SessionBook::sameToken(asked.csrf, caller.csrf))
        return HttpReply::error(403, "the session's CSRF token is missing or wrong");
    HttpReply none;
    none.status = 0;
    return none;
}

QByteArray AccessGate::cookie(const QByteArray &value, bool drop) const
{
    return QByteArray(SessionBook::kCookie) + '=' + value + "; Path=/; HttpOnly; SameSite=Strict" + (drop ? "; Max-Age=0" : "")
         + (tls_ ? "; Secure" : "");
}

HttpReply AccessGate::signIn(const UserStore::Account &account, qint64 nowMs)
{
    HttpReply reply = redirect("/", false);
    reply.header("Set-Cookie", cookie(sessions_.open(account, nowMs), false));
    return reply;
}

HttpReply AccessGate::signOut(const Caller &caller)
{
    sessions_.close(caller.cookie);
    HttpReply reply = redirect("/login", false);
    reply.header("Set-Cookie", cookie(QByteArray(), true));
    return reply;
}

HttpReply AccessGate::session(const Caller &caller)
{
    const QJsonObject o{{QStringLiteral("user"), QString::fromLatin1(caller.user)},
                        {QStringLiteral("role"), QString::fromLatin1(UserStore::roleName(caller.role))},
                        {QStringLiteral("csrf"), QString::fromLatin1(caller.csrf)}};
    return {200, "application/json", QJsonDocument(o).toJson(QJsonDocument::Compact), {}, false};
}

HttpReply AccessGate::redirect(const QByteArray &to, bool close)
{
    HttpReply reply{303, {}, {}, {}, close};
    reply.header("Location", to);
    return reply;
}

HttpReply AccessGate::loginAsked(bool close) const
{
    HttpReply r = HttpReply::error(401, "login required");
    if (authFile_)
        r.header("WWW-Authenticate", "Basic realm=\"knitfleet\", charset=\"UTF-8\"");
    r.close = close;
    return r;
}
