#include "guardedserver.h"

#include "connectionguard.h"
#include "httpreply.h"
#include "refusallog.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>

#include <sys/socket.h>
#include <unistd.h>

GuardedServer::GuardedServer(HeadReader::BodyLimit limit, QObject *parent)
    : QTcpServer(parent)
    , limit_(std::move(limit))
{
}

void GuardedServer::incomingConnection(qintptr descriptor)
{
    // A connection past the limits is answered and closed on the bare descriptor: a flood of
    // them costs no socket object each.
    sockaddr_storage address = {};
    socklen_t length = sizeof(address);
    QHostAddress peer;
    if (::getpeername(int(descriptor), reinterpret_cast<sockaddr *>(&address), &length) == 0)
        peer.setAddress(reinterpret_cast<const sockaddr *>(&address));
    bool mapped = false;
    const quint32 v4 = peer.toIPv4Address(&mapped);
    if (mapped)
        peer = QHostAddress(v4);
    const int fromPeer = counts_->perAddress.value(peer);
    if (counts_->total >= kMaxConnections || fromPeer >= kMaxPerAddress) {
        RefusalLog::line("connections", QStringLiteral("refused a connection from %1: %2").arg(peer.toString(),
                         counts_->total >= kMaxConnections ? QStringLiteral("%1 open").arg(kMaxConnections)
                                                           : QStringLiteral("%1 open from it").arg(kMaxPerAddress)));
        if (!tls_) {
            const QByteArray reply = HttpReply::error(503, "too many connections").bytes(false, false);
            [[maybe_unused]] const ssize_t sent = ::send(int(descriptor), reply.constData(), std::size_t(reply.size()), MSG_DONTWAIT | MSG_NOSIGNAL);
        }
        ::close(int(descriptor));
        return;
    }
    QTcpSocket *socket = tls_ ? new QSslSocket(this) : new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        ::close(int(descriptor));
        return;
    }
    connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    ++counts_->perAddress[peer];
    ++counts_->total;
    new ConnectionGuard(socket, tls_.has_value(), limit_, [counts = counts_, peer] {
        --counts->total;
        if (--counts->perAddress[peer] <= 0)
            counts->perAddress.remove(peer);
    });
    if (!tls_) {
        addPendingConnection(socket);
        return;
    }
    auto *ssl = static_cast<QSslSocket *>(socket);
    ssl->setSslConfiguration(*tls_);
    connect(ssl, &QSslSocket::encrypted, this, [this, ssl] { addPendingConnection(ssl); });
    ssl->startServerEncryption();
}

QTcpSocket *GuardedServer::nextPendingConnection()
{
    QTcpSocket *socket = QTcpServer::nextPendingConnection();
    if (ConnectionGuard *guard = ConnectionGuard::of(socket))
        guard->begin();
    return socket;
}

bool GuardedServer::loadTls(const QString &cert, const QString &key, QString *why)
{
    QFile c(cert);
    QFile k(key);
    const QList<QSslCertificate> chain = QSslCertificate::fromData(c.open(QIODevice::ReadOnly) ? c.read(1 << 20) : QByteArray());
    const QByteArray keyBytes = k.open(QIODevice::ReadOnly) ? k.read(1 << 20) : QByteArray();
    QSslKey privateKey(keyBytes, QSsl::Rsa);
    if (privateKey.isNull())
        privateKey = QSslKey(keyBytes, QSsl::Ec);
    if (chain.isEmpty() || privateKey.isNull()) {
        *why = QStringLiteral("--cert %1 --key %2: not a PEM certificate and key").arg(cert, key);
        return false;
    }
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificateChain(chain);
    tls.setPrivateKey(privateKey);
    tls_ = tls;
    return true;
}
