#include "tlssetup.h"

#include <QSslCertificate>

bool TlsSetup::configuration(const QString &cafile, QSslConfiguration *tls, QString *why)
{
    *tls = QSslConfiguration::defaultConfiguration();
    if (cafile.isEmpty())
        return true;
    const QList<QSslCertificate> certs = QSslCertificate::fromPath(cafile, QSsl::Pem);
    if (certs.isEmpty()) {
        *why = QStringLiteral("no certificate in %1").arg(cafile);
        return false;
    }
    tls->addCaCertificates(certs);
    return true;
}
