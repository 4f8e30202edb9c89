#pragma once

#include "httpreply.h"

#include "dashboard/headreader.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include <functional>

// Stands between one connection and the web server's parser (Qt HttpServer 6.4, which would
// take heads and bodies of any size and answer pipelined requests as they come): it reads
// the bytes first, holds them (at most kMaxHeld) and hands the parser one whole request at a
// time, the next only once the last is answered, so replies keep their order. A head must be
// complete within kHeadMs of its first byte (of the connection's start for the first) and
// keep to HeadReader's rules; a body passes only where its route allows one, counted as it
// comes. Refusals are answered here (with the server's headers) and end the connection, as
// does kIdleMs without traffic. Lives as the socket's child.
class ConnectionGuard : public QObject
{
    Q_OBJECT

public:
    static constexpr int kIdleMs = 10000;
    static constexpr int kHeadMs = 10000;
    static constexpr int kMaxHeld = 2 * HeadReader::kMaxHead;
    static constexpr qint64 kReadBuffer = 16 * 1024;

    // release: called once when the guard goes (the connection's count).
    ConnectionGuard(QTcpSocket *socket, bool tls, const HeadReader::BodyLimit &limit, std::function<void()> release);
    ~ConnectionGuard() override;
    static ConnectionGuard *of(QTcpSocket *socket);

    // The server has taken the socket: requests are handed on from now on.
    void begin();

    // Writes the reply to the request handed on; the next request follows unless it closes.
    void send(const HttpReply &reply, bool head);
    // Reads nothing more from the connection until the reply (a refused login's, which waits).
    void stopReading();
    // A WebSocket took the connection over; its own checks apply from now on.
    void handOver();

private:
    void onRead();
    // Hands the next whole request held to the parser; true when it did.
    bool handNext();
    void handLater();
    void hand(const QByteArray &bytes);
    // Lets the parser see only the first n bytes the socket has; the rest is held.
    void keepBack(qint64 n);
    void refuse(int status, const char *why);

    QTcpSocket *const socket_;
    const bool tls_;
    std::function<void()> release_;
    HeadReader reader_;
    QByteArray held_;      // read off the socket, not handed on yet
    qsizetype scanned_ = 0; // of held_, given to reader_
    bool begun_ = false;   // the server has the socket
    bool busy_ = false;    // a request was handed on and not answered yet
    bool handing_ = false; // the guard itself makes the socket say it has bytes
    bool ended_ = false;   // reads are dropped
    QTimer idle_;
    QTimer head_;
};
