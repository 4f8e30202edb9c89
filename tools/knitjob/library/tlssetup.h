#pragma once

#include <QNetworkRequest>
#include <QString>

// The TLS side of knitjob's requests to knitfleet serve: with a certificate file, that file's
// certificates are trusted besides the system's (an office's own authority); without one, the
// system's alone.
class TlsSetup
{
public:
    // False with the reason when the file holds no certificate.
    static bool apply(QNetworkRequest *request, const QString &cafile, QString *why);
};
