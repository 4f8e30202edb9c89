#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

// The parts of a request read from outside input: a field of a form body
// (application/x-www-form-urlencoded), a cookie's values from a Cookie header and the name of
// a Host header. Each is at most as long as what it came from; a name that is not there gives nothing.
class RequestFields
{
public:
    // The field's value, percent- and '+'-decoded; empty when the body has no such field.
    static QByteArray formField(const QByteArray &body, const char *name);
    // The values of every cookie of that name, in the header's order.
    static QByteArrayList cookies(const QByteArray &header, const QByteArray &name);
    // The host of a Host header ("name:port", "[v6]:port"), lower case, without a final dot.
    static QString host(const QByteArray &header);
};
