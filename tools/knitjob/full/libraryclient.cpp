#include "libraryclient.h"

#include "tlssetup.h"

#include <QEventLoop>
#include <QNetworkReply>

#include <sysexits.h>

namespace {

// Quiet this long, the office is taken as gone.
constexpr int kTransferTimeoutMs = 30000;

} // namespace

LibraryClient::LibraryClient(const LibraryConfig &config)
    : config_(config)
{
}

int LibraryClient::exitStatus(Fault fault)
{
    switch (fault) {
    case None:
        return EX_OK;
    case Tls:
        return EX_PROTOCOL;
    case Refused:
        return EX_NOPERM;
    case Busy:
        return EX_TEMPFAIL;
    case Missing:
        return EX_NOINPUT;
    case TooLarge:
        return EX_DATAERR;
    case Sink:
        return EX_CANTCREAT;
    case Unreachable:
        break;
    }
    return EX_UNAVAILABLE;
}

LibraryClient::Fault LibraryClient::get(const QString &path, qint64 maxBytes, const Receiver &sink, QString *why)
{
    QUrl url = config_.url;
    url.setPath(path);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(kTransferTimeoutMs);
    request.setRawHeader("Authorization", "Bearer " + config_.token);
    if (!TlsSetup::apply(&request, config_.cafile, why))
        return Tls;
    QNetworkReply *reply = net_.get(request);
    qint64 received = 0;
    Fault stopped = None;
    const auto take = [&] {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QByteArray piece = reply->readAll();
        if (status != 200 || stopped != None)
            return;
        received += piece.size();
        bool known = false;
        const qint64 length = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (received > maxBytes || (known && length > maxBytes))
            stopped = TooLarge;
        else if (!sink(piece, known ? length : -1))
            stopped = Sink;
        if (stopped != None)
            reply->abort();
    };
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, take);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();
    if (stopped == None)
        take();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    const QString errorText = reply->errorString();
    // Now, not later: the helper may run no event loop again before it exits.
    delete reply;
    if (stopped == TooLarge)
        *why = QStringLiteral("%1 is over %2 bytes").arg(path).arg(maxBytes);
    if (stopped != None)
        return stopped;
    if (error == QNetworkReply::SslHandshakeFailedError) {
        *why = QStringLiteral("TLS with %1 failed: %2").arg(url.host(), errorText);
        return Tls;
    }
    if (status == 401 || status == 403) {
        *why = QStringLiteral("the library refused this machine's token (HTTP %1)").arg(status);
        return Refused;
    }
    if (status == 429) {
        *why = QStringLiteral("the library asks to wait: over its requests a minute (HTTP 429)");
        return Busy;
    }
    if (status == 404) {
        *why = QStringLiteral("%1 is not in the library (HTTP 404)").arg(path);
        return Missing;
    }
    if (status != 200 || error != QNetworkReply::NoError) {
        *why = status == 0 || status == 200 ? QStringLiteral("the library at %1 did not answer whole: %2").arg(url.host(), errorText)
                                            : QStringLiteral("the library answered HTTP %1 for %2").arg(status).arg(path);
        return Unreachable;
    }
    return None;
}
