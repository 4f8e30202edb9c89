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
    return getAll({{path, maxBytes, sink}}, why);
}

LibraryClient::Fault LibraryClient::getAll(const std::vector<Get> &gets, QString *why)
{
    struct Transfer
    {
        QNetworkReply *reply = nullptr;
        qint64 received = 0;
        Fault stopped = None;
        bool ended = false;
    };
    std::vector<Transfer> transfers(gets.size());
    for (std::size_t i = 0; i < gets.size(); ++i) {
        QUrl url = config_.url;
        url.setPath(gets[i].path);
        QNetworkRequest request(url);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        request.setTransferTimeout(kTransferTimeoutMs);
        request.setRawHeader("Authorization", "Bearer " + config_.token);
        if (!TlsSetup::apply(&request, config_.cafile, why)) {
            for (Transfer &t : transfers)
                delete t.reply;
            return Tls;
        }
        transfers[i].reply = net_.get(request);
    }
    const auto take = [&gets, &transfers](std::size_t i) {
        Transfer &t = transfers[i];
        const int status = t.reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QByteArray piece = t.reply->readAll();
        if (status != 200 || t.stopped != None)
            return;
        t.received += piece.size();
        bool known = false;
        const qint64 length = t.reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (t.received > gets[i].maxBytes || (known && length > gets[i].maxBytes))
            t.stopped = TooLarge;
        else if (!gets[i].sink(piece, known ? length : -1))
            t.stopped = Sink;
        if (t.stopped != None)
            t.reply->abort();
    };
    QEventLoop loop;
    std::size_t finished = 0;
    Fault first = None;
    const auto end = [&, this](std::size_t i) {
        Transfer &t = transfers[i];
        if (t.ended)
            return;
        t.ended = true;
        take(i);
        QString reason;
        const Fault fault = faultOf(t.reply, gets[i].path, gets[i].maxBytes, t.stopped, &reason);
        if (fault != None && first == None) {
            // One file missing fails the whole: the others are not waited for.
            first = fault;
            *why = reason;
            for (Transfer &other : transfers)
                if (!other.reply->isFinished())
                    other.reply->abort();
        }
        if (++finished == transfers.size())
            loop.quit();
    };
    for (std::size_t i = 0; i < transfers.size(); ++i) {
        QObject::connect(transfers[i].reply, &QNetworkReply::readyRead, &loop, [&take, i] { take(i); });
        QObject::connect(transfers[i].reply, &QNetworkReply::finished, &loop, [&end, i] { end(i); });
    }
    // A reply may be done before it is connected (refused at once).
    for (std::size_t i = 0; i < transfers.size(); ++i)
        if (transfers[i].reply->isFinished())
            end(i);
    if (finished < transfers.size())
        loop.exec();
    // Now, not later: the helper may run no event loop again before it exits.
    for (Transfer &t : transfers)
        delete t.reply;
    return first;
}

LibraryClient::Fault LibraryClient::faultOf(QNetworkReply *reply, const QString &path, qint64 maxBytes, Fault stopped, QString *why) const
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    const QString errorText = reply->errorString();
    const QUrl url = config_.url;
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
