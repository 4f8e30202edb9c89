#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The office's logins for the dashboard: lines user:password in a file (at most 64 KiB, blank
// lines and # comments skipped), checked against an HTTP basic Authorization header.
class AuthFile
{
public:
    bool read(const QString &path, QString *why);
    bool isEmpty() const { return logins_.isEmpty(); }
    // The header's value ("Basic ...") names one of the logins.
    bool accepts(const QByteArray &authorization) const;

private:
    QList<QByteArray> logins_; // "user:password"
};
