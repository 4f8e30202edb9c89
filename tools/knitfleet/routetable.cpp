#include "routetable.h"

#include "dashboard/joblibrary.h"

#include <QUrl>

namespace {

using Role = UserStore::Role;

const RouteTable::Route kRoutes[] = {
    {"/login", false, Role::None, RouteTable::Get | RouteTable::Post, RouteTable::kFormBytes, Role::None},
    {"/logout", false, Role::Viewer, RouteTable::Post, RouteTable::kFormBytes, Role::Viewer},
    // Who did what: the admins' alone.
    {"/audit", false, Role::Admin, RouteTable::Get, 0, Role::Admin},
    {"/api/audit", false, Role::Admin, RouteTable::Get, 0, Role::Admin},
    // The job library: everyone reads it; supervisors upload (a job's files, with room for the
    // form around them), approve and archive.
    {"/api/library", false, Role::Viewer, RouteTable::Get | RouteTable::Post, JobLibrary::kMaxUpload, Role::Supervisor},
    {"/api/library/", true, Role::Viewer, RouteTable::Get | RouteTable::Post, RouteTable::kFormBytes, Role::Supervisor},
    // A machine's job from the library: supervisors assign it; the rest of a machine's API is read only.
    {"/api/machines/", true, Role::Viewer, RouteTable::Get | RouteTable::Post, RouteTable::kFormBytes, Role::Supervisor},
    // The login page's style sheet; nothing under it is private.
    {"/static/", true, Role::None, RouteTable::Get, 0, Role::None},
};

const RouteTable::Route kViewer{"", true, Role::Viewer, RouteTable::Get, 0, Role::Viewer};

} // namespace

const RouteTable::Route &RouteTable::find(const QString &path)
{
    for (const Route &r : kRoutes)
        if (r.prefix ? path.startsWith(QLatin1String(r.path)) : path == QLatin1String(r.path))
            return r;
    return kViewer;
}

qint64 RouteTable::bodyLimit(const QByteArray &method, const QByteArray &path, const std::function<UserStore::Role()> &role)
{
    const Route &r = find(QUrl::fromPercentEncoding(path));
    if (method != "POST" || !(r.methods & Post))
        return 0;
    return r.maxBody <= kFormBytes || role() >= r.leastPost ? r.maxBody : kFormBytes;
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
