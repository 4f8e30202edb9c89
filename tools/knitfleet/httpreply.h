#pragma once

#include "dashboard/dashboardapi.h"

#include <QByteArray>
#include <QList>
#include <QPair>

// One reply of the dashboard's web server as the bytes sent, whoever answers (the server, or
// the connection guard before the server saw the request): every reply carries the same
// security headers, Strict-Transport-Security under HTTPS, and a HEAD request gets the head
// alone, with the length the body would have had.
struct HttpReply
{
    int status = 200;
    QByteArray type;
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers; // besides the common ones
    bool close = false;                           // the connection ends after it

    HttpReply &header(const QByteArray &name, const QByteArray &value)
    {
        headers.append(qMakePair(name, value));
        return *this;
    }
    // {"error":"why"}
    static HttpReply error(int status, const QByteArray &why);
    // An API answer: a CSV as an attachment, the next page in a Link header.
    static HttpReply of(const DashboardApi::Answer &a);
    QByteArray bytes(bool tls, bool head) const;
};
