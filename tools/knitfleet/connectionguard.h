#pragma once

#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

// Watches one connection of the dashboard's web server: closes it after kIdleMs without
// traffic, and answers 431 and closes when a request's head grows past kMaxHead (the server's
// parser would take any size). Lives as the socket's child; counts the open connections. A
// connection that became a WebSocket is left to the WebSocket's own checks.
class ConnectionGuard : public QObject
{
    Q_OBJECT

public:
    static constexpr int kIdleMs = 10000;
    static constexpr int kMaxHead = 16 * 1024;
    static constexpr int kMaxConnections = 500;

    ConnectionGuard(QTcpSocket *socket, int *live);
    ~ConnectionGuard() override;

private:
    void onRead();
    void onIdle();

    QTcpSocket *const socket_;
    int *const live_;
    QTimer idle_;
    qint64 head_ = 0;  // bytes since the last end of a request head
    quint32 last4_ = 0; // the last four bytes seen, for an end split across reads
};

// A TCP (or TLS) server that refuses connections past kMaxConnections and guards the others.
template <class Base>
class GuardedServer : public Base
{
public:
    using Base::Base;

    QTcpSocket *nextPendingConnection() override
    {
        while (QTcpSocket *s = Base::nextPendingConnection()) {
            if (live_ < ConnectionGuard::kMaxConnections) {
                new ConnectionGuard(s, &live_);
                return s;
            }
            s->abort();
            s->deleteLater();
        }
        return nullptr;
    }

private:
    int live_ = 0;
};
