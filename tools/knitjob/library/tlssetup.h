#pragma once

#include <QSslConfiguration>
#include <QString>

// The TLS side of knitjob push's requests to knitfleet serve: with a certificate file, that
// file's certificates are trusted besides the system's (an office's own authority); without
// one, the system's alone.
class TlsSetup
{
public:
    // The configuration to give every request; false with the reason when the file holds no
    // certificate.
    static bool configuration(const QString &cafile, QSslConfiguration *tls, QString *why);
};
