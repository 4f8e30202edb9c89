#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A multipart/form-data body (RFC 7578) read strictly: the boundary from the Content-Type
// (1 to 70 characters), at most kMaxParts parts, each with a head of at most kMaxPartHead bytes
// in CRLF lines, a Content-Disposition of form-data with a plain field name, no two parts of
// one name, and the closing delimiter at the end (what follows it is at most a CRLF). A body
// that breaks a rule gives nothing and the reason. What the parts hold is no more than the
// body, whose size the route bounds before it is read.
class MultipartForm
{
public:
    static constexpr int kMaxParts = 8;
    static constexpr int kMaxPartHead = 1024;
    static constexpr int kMaxBoundary = 70;

    struct Part
    {
        QByteArray name;     // the form field's name
        QByteArray fileName; // the filename parameter, empty for a plain field
        QByteArray data;
    };

    // The boundary of a Content-Type header's value; empty when it is not multipart/form-data
    // with a usable boundary.
    static QByteArray boundary(const QByteArray &contentType);
    // The parts, or false with the reason in *why.
    static bool parse(const QByteArray &body, const QByteArray &boundary, QList<Part> *parts, QString *why);
    // The part of that name, or null.
    static const Part *find(const QList<Part> &parts, const char *name);

private:
    static bool readHead(const QByteArray &head, Part *part, QString *why);
    static QByteArray parameter(const QByteArray &disposition, const char *name);
};
