#include "tlssetup.h"

#include <QSslCertificate>
#include <QSslConfiguration>

bool TlsSetup::apply(QNetworkRequest *request, const QString &cafile, QString *why)
{
    if (cafile.isEmpty())
        return true;
    const QList<QSslCertificate> certs = QSslCertificate::fromPath(cafile, QSsl::Pem);
    if (certs.isEmpty()) {
        *why = QStringLiteral("no certificate in %1").arg(cafile);
        return false;
    }
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.addCaCertificates(certs);
    request->setSslConfiguration(tls);
    return true;
}
