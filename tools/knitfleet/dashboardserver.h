#pragma once

#include "dashboard/authfile.h"

#include <QAbstractHttpServer>
#include <QHostAddress>
#include <QList>
#include <QTimer>

class Dashboard;
class QWebSocket;

// knitfleet serve's web side, the one class that uses Qt HttpServer and WebSockets: the pages
// and their scripts from the built-in resources, the API through Dashboard, and /ws, which
// pushes the machines that changed at most four times a second. GET only; with an auth file
// every request needs HTTP basic auth, and a wrong one is answered after a second.
class DashboardServer : public QAbstractHttpServer
{
    Q_OBJECT

public:
    static constexpr int kPushMs = 250;
    static constexpr int kFailedLoginMs = 1000;

    explicit DashboardServer(Dashboard *dashboard, QObject *parent = nullptr);
    void setAuth(const AuthFile &auth) { auth_ = auth; }
    // Listens (TLS with cert and key); false with a reason.
    bool serve(const QHostAddress &address, int port, const QString &cert, const QString &key, QString *why);

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    struct Reply
    {
        int status = 200;
        QByteArray type;
        QByteArray body;
    };
    Reply route(const QHttpServerRequest &request);
    Reply page(const QString &name, const QHttpServerRequest &request);
    static Reply file(const QString &name);
    static Reply problem(int status, const char *why);
    void respond(const QHttpServerRequest &request, QTcpSocket *socket, const Reply &reply);
    void refuseLogin(QTcpSocket *socket);
    void onWebSocket();
    void push();
    void sendHealth(QWebSocket *to);

    Dashboard *const dashboard_;
    AuthFile auth_;
    QList<QWebSocket *> sockets_;
    QTimer push_;
};
