#include "httpreply.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

const char *reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 201: return "Created";
    case 303: return "See Other";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 409: return "Conflict";
    case 408: return "Request Timeout";
    case 411: return "Length Required";
    case 413: return "Content Too Large";
    case 421: return "Misdirected Request";
    case 429: return "Too Many Requests";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    }
    return "Error";
}

} // namespace

HttpReply HttpReply::error(int status, const QByteArray &why)
{
    HttpReply r;
    r.status = status;
    r.type = "application/json";
    r.body = QJsonDocument(QJsonObject{{QStringLiteral("error"), QString::fromUtf8(why)}}).toJson(QJsonDocument::Compact);
    return r;
}

HttpReply HttpReply::of(const DashboardApi::Answer &a)
{
    HttpReply reply{a.status, a.type, a.body, {}, false};
    if (a.type.startsWith("text/csv"))
        reply.header("Content-Disposition", "attachment; filename=\"knitfleet.csv\"");
    if (!a.next.isEmpty())
        reply.header("Link", "<" + a.next + ">; rel=\"next\"");
    return reply;
}

QByteArray HttpReply::bytes(bool tls, bool head) const
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) + "\r\n";
    const auto add = [&out](const QByteArray &name, const QByteArray &value) { out += name + ": " + value + "\r\n"; };
    if (!type.isEmpty())
        add("Content-Type", type);
    add("Content-Length", QByteArray::number(body.size()));
    // No page of another site may frame the dashboard, read what it sniffs, or learn its URLs.
    add("Content-Security-Policy", "default-src 'self'; frame-ancestors 'none'");
    add("X-Frame-Options", "DENY");
    add("X-Content-Type-Options", "nosniff");
    add("Referrer-Policy", "no-referrer");
    if (std::none_of(headers.begin(), headers.end(), [](const auto &h) { return h.first == "Cache-Control"; }))
        add("Cache-Control", "no-store");
    if (tls)
        add("Strict-Transport-Security", "max-age=31536000");
    for (const auto &h : headers)
        add(h.first, h.second);
    if (close)
        add("Connection", "close");
    out += "\r\n";
    return head ? out : out + body;
}
