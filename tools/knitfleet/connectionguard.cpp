#include "connectionguard.h"

ConnectionGuard::ConnectionGuard(QTcpSocket *socket, int *live)
    : QObject(socket)
    , socket_(socket)
    , live_(live)
{
    ++*live_;
    idle_.setSingleShot(true);
    idle_.setInterval(kIdleMs);
    connect(&idle_, &QTimer::timeout, this, &ConnectionGuard::onIdle);
    // Connected before the web server's own slots, so each read is seen before it parses it.
    connect(socket, &QTcpSocket::readyRead, this, &ConnectionGuard::onRead);
    connect(socket, &QTcpSocket::bytesWritten, &idle_, qOverload<>(&QTimer::start));
    idle_.start();
}

ConnectionGuard::~ConnectionGuard()
{
    --*live_;
}

void ConnectionGuard::onRead()
{
    idle_.start();
    // Each head is measured up to its blank line, however the bytes were split into reads.
    bool tooLong = false;
    for (const char c : socket_->peek(socket_->bytesAvailable())) {
        last4_ = (last4_ << 8) | quint8(c);
        tooLong = tooLong || ++head_ > kMaxHead;
        if (last4_ == 0x0d0a0d0a)
            head_ = 0;
    }
    if (tooLong || head_ > kMaxHead) {
        socket_->disconnect(this);
        socket_->write("HTTP/1.1 431 Request Header Fields Too Large\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket_->disconnectFromHost();
        // Nothing more of it reaches the parser.
        socket_->read(socket_->bytesAvailable());
    }
}

void ConnectionGuard::onIdle()
{
    // A WebSocket has taken the connection over (and with it the socket as its child).
    if (socket_->parent() && socket_->parent()->inherits("QWebSocket"))
        return;
    socket_->abort();
}
