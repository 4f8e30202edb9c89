#pragma once

#include "dashboard/userstore.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Who may use each route, and how: the least role, the methods taken and the largest body, one
// line a route. A path without a line of its own is a viewer's, GET and HEAD only, without a
// body.
class RouteTable
{
public:
    enum Methods { Get = 1, Post = 2 };
    // The login form is small: a name, a password and nothing more; other forms likewise.
    static constexpr qint64 kFormBytes = 4096;
    struct Route
    {
        const char *path;
        bool prefix; // the line covers every path below it
        UserStore::Role least; // of a GET or HEAD
        int methods;
        qint64 maxBody; // of a POST
        UserStore::Role leastPost;
    };
    // The least role of the method on the route.
    static UserStore::Role least(const Route &route, bool post) { return post ? route.leastPost : route.least; }

    static const Route &find(const QString &path);
    // HeadReader's limit: a body only on a POST where the route takes one, and one over a
    // form's size only from a caller whose role (asked for then) may post it.
    static qint64 bodyLimit(const QByteArray &method, const QByteArray &path, const std::function<UserStore::Role()> &role);
    // The Allow header's value.
    static QByteArray allowed(const Route &route);
};
