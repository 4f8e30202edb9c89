#include "routetable.h"

#include <QUrl>

namespace {

using Role = UserStore::Role;

// The login form is small: a name, a password and nothing more.
constexpr qint64 kFormBytes = 4096;

const RouteTable::Route kRoutes[] = {
    {"/login", false, Role::None, RouteTable::Get | RouteTable::Post, kFormBytes},
    {"/logout", false, Role::Viewer, RouteTable::Post, kFormBytes},
    // Who did what: the admins' alone.
    {"/audit", false, Role::Admin, RouteTable::Get, 0},
    {"/api/audit", false, Role::Admin, RouteTable::Get, 0},
    // The login page's style sheet; nothing under it is private.
    {"/static/", true, Role::None, RouteTable::Get, 0},
};

const RouteTable::Route kViewer{"", true, Role::Viewer, RouteTable::Get, 0};

} // namespace

const RouteTable::Route &RouteTable::find(const QString &path)
{
    for (const Route &r : kRoutes)
        if (r.prefix ? path.startsWith(QLatin1String(r.path)) : path == QLatin1String(r.path))
            return r;
    return kViewer;
}

qint64 RouteTable::bodyLimit(const QByteArray &method, const QByteArray &path)
{
    const Route &r = find(QUrl::fromPercentEncoding(path));
    return method == "POST" && (r.methods & Post) ? r.maxBody : 0;
}

QByteArray RouteTable::allowed(const Route &route)
{
    QByteArrayList methods;
    if (route.methods & Get)
        methods << "GET" << "HEAD";
    if (route.methods & Post)
        methods << "POST";
    return methods.join(", ");
}
