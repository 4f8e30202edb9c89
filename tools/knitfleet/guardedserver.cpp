#include "guardedserver.h"

#include "connectionguard.h"
#include "httpreply.h"
#include "refusallog.h"

#include <QSslSocket>

#include <unistd.h>

GuardedServer::GuardedServer(HeadReader::BodyLimit limit, QObject *parent)
    : QTcpServer(parent)
    , limit_(std::move(limit))
{
}

void GuardedServer::incomingConnection(qintptr descriptor)
{
    QTcpSocket *socket = tls_ ? new QSslSocket(this) : new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        ::close(int(descriptor));
        return;
    }
    connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    bool mapped = false;
    const quint32 v4 = socket->peerAddress().toIPv4Address(&mapped);
    const QHostAddress peer = mapped ? QHostAddress(v4) : socket->peerAddress();
    int &fromPeer = counts_->perAddress[peer];
    if (counts_->total >= kMaxConnections || fromPeer >= kMaxPerAddress) {
        if (fromPeer == 0)
            counts_->perAddress.remove(peer);
        RefusalLog::line("connections", QStringLiteral("refused a connection from %1: %2").arg(peer.toString(),
                         counts_->total >= kMaxConnections ? QStringLiteral("%1 open").arg(kMaxConnections)
                                                           : QStringLiteral("%1 open from it").arg(kMaxPerAddress)));
        if (!tls_)
            socket->write(HttpReply::error(503, "too many connections").bytes(false, false));
        socket->disconnectFromHost();
        return;
    }
    ++fromPeer;
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
