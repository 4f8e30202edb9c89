#include "connectionguard.h"

#include "refusallog.h"

#include <QSslSocket>

ConnectionGuard::ConnectionGuard(QTcpSocket *socket, bool tls, const HeadReader::BodyLimit &limit, std::function<void()> release)
    : QObject(socket)
    , socket_(socket)
    , tls_(tls)
    , release_(std::move(release))
    , reader_(limit)
{
    // The socket takes no more off the network than this until the guard has read it.
    socket->setReadBufferSize(kReadBuffer);
    idle_.setSingleShot(true);
    idle_.setInterval(kIdleMs);
    connect(&idle_, &QTimer::timeout, this, [this] { socket_->abort(); });
    head_.setSingleShot(true);
    head_.setInterval(kHeadMs);
    connect(&head_, &QTimer::timeout, this, [this] { refuse(408, "request head not complete within 10 s"); });
    // Connected before the web server's own slots, so each read is seen before it parses it.
    connect(socket, &QTcpSocket::readyRead, this, &ConnectionGuard::onRead);
    connect(socket, &QTcpSocket::bytesWritten, this, [this] {
        if (!busy_)
            idle_.start();
    });
    idle_.start();
    head_.start();
}

ConnectionGuard::~ConnectionGuard()
{
    if (release_)
        release_();
}

ConnectionGuard *ConnectionGuard::of(QTcpSocket *socket)
{
    return socket ? socket->findChild<ConnectionGuard *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void ConnectionGuard::onRead()
{
    if (handing_)
        return;
    // The parser keeps a transaction open while a request is incomplete; what it read in it is
    // parsed already, and would otherwise stay in the socket's buffer as well.
    if (socket_->isTransactionStarted())
        socket_->commitTransaction();
    if (ended_) {
        socket_->skip(socket_->bytesAvailable());
        return;
    }
    idle_.start();
    if (busy_ && reader_.inBody()) {
        // A body goes to the parser as it comes, counted; what follows it waits here.
        const QByteArray bytes = socket_->peek(socket_->bytesAvailable());
        const HeadReader::Step s = reader_.read(bytes.constData(), bytes.size());
        if (s.used < bytes.size())
            keepBack(s.used);
        return;
    }
    held_ += socket_->read(socket_->bytesAvailable());
    if (held_.size() > kMaxHeld) {
        // Only a client that sends far ahead of the replies gets here.
        RefusalLog::line("held", QStringLiteral("closed %1: over %2 bytes sent ahead of the replies")
                                     .arg(socket_->peerAddress().toString()).arg(kMaxHeld));
        socket_->abort();
        return;
    }
    if (!busy_)
        handNext();
}

void ConnectionGuard::begin()
{
    begun_ = true;
    handLater();
}

void ConnectionGuard::handLater()
{
    // After the current call has returned: the parser reads when the socket says it has bytes.
    QTimer::singleShot(0, this, [this] {
        if (!handNext())
            return;
        handing_ = true;
        Q_EMIT socket_->readyRead();
        handing_ = false;
    });
}

bool ConnectionGuard::handNext()
{
    if (!begun_ || busy_ || ended_ || held_.size() <= scanned_)
        return false;
    const HeadReader::Step s = reader_.read(held_.constData() + scanned_, held_.size() - scanned_);
    if (s.event == HeadReader::Event::Refused) {
        refuse(reader_.refusal(), reader_.why());
        return false;
    }
    if (s.event == HeadReader::Event::More) {
        scanned_ = held_.size();
        if (!head_.isActive())
            head_.start();
        return false;
    }
    qsizetype n = scanned_ + s.used;
    if (reader_.inBody())
        n += reader_.read(held_.constData() + n, held_.size() - n).used;
    head_.stop();
    idle_.stop();
    busy_ = true;
    // The parser keeps a body it has not all of in the socket's buffer (its transaction stays
    // open), and a full buffer reads no more: a body past the buffer would never complete.
    // Its route bounds it, and HeadReader counts it as it comes.
    if (reader_.inBody())
        socket_->setReadBufferSize(0);
    hand(held_.left(n));
    held_.remove(0, n);
    scanned_ = 0;
    return true;
}

void ConnectionGuard::hand(const QByteArray &bytes)
{
    // Put back in front of whatever the socket still has, for the parser to read. Within the
    // parser's transaction a byte put back would only move its position back.
    if (socket_->isTransactionStarted())
        socket_->commitTransaction();
    for (qsizetype i = bytes.size() - 1; i >= 0; --i)
        socket_->ungetChar(bytes[i]);
}

void ConnectionGuard::keepBack(qint64 n)
{
    const QByteArray all = socket_->read(socket_->bytesAvailable());
    held_.prepend(all.mid(n));
    hand(all.left(n));
}

void ConnectionGuard::send(const HttpReply &reply, bool head)
{
    socket_->write(reply.bytes(tls_, head));
    busy_ = false;
    socket_->setReadBufferSize(kReadBuffer);
    if (reply.close) {
        ended_ = true;
        head_.stop();
        idle_.start();
        socket_->disconnectFromHost();
        return;
    }
    idle_.start();
    handLater();
}

void ConnectionGuard::stopReading()
{
    ended_ = true;
    head_.stop();
    idle_.stop();
    held_.clear();
}

void ConnectionGuard::handOver()
{
    disconnect(socket_, nullptr, this, nullptr);
    idle_.stop();
    head_.stop();
    held_.clear();
}

void ConnectionGuard::refuse(int status, const char *why)
{
    RefusalLog::line("request", QStringLiteral("refused %1: %2 (%3)").arg(socket_->peerAddress().toString(), QLatin1String(why)).arg(status));
    const auto *tls = qobject_cast<QSslSocket *>(socket_);
    if (busy_ || (tls && !tls->isEncrypted())) {
        socket_->abort();
        return;
    }
    HttpReply r = HttpReply::error(status, why);
    r.close = true;
    send(r, false);
}
