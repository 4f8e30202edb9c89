#pragma once

#include "accessgate.h"
#include "httpreply.h"
#include "libraryroutes.h"
#include "logingate.h"
#include "offerroutes.h"

#include "dashboard/apireader.h"

#include <QAbstractHttpServer>
#include <QHash>
#include <QHostAddress>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QUrl>

class Dashboard;
class QTcpSocket;
class QWebSocket;

// knitfleet serve's web side, the one class that uses Qt HttpServer and WebSockets: the pages
// and their scripts from the built-in resources, the API through Dashboard, and /ws, which
// pushes the machines that changed at most four times a second. A request is answered only
// when its Host names this server (a DNS name pointed at it by another site is not), the
// WebSocket only from the dashboard's own pages. With accounts or an auth file every request
// needs a login: a session from the login form, or the auth file's basic login (a viewer's);
// AccessGate decides what each caller may do, LoginGate checks the passwords. A live page
// that stops reading (kMaxUnsent waiting beyond the whole floor's picture) or misses two pings
// is closed.
class DashboardServer : public QAbstractHttpServer
{
    Q_OBJECT

public:
    static constexpr int kPushMs = 250;
    static constexpr int kPingMs = 30000;
    static constexpr qint64 kMaxUnsent = 1 << 20;
    static constexpr int kMaxGroup = 64; // characters of a live feed's ?group= kept
    static constexpr qint64 kMaxRefusalWaitMs = 8000;

    // names: the host names besides the listen address (and, on loopback, localhost).
    DashboardServer(Dashboard *dashboard, const AuthFile &auth, const AccountBook *accounts, qint64 sessionIdleMs,
                    const QStringList &names, QObject *parent = nullptr);
    LoginGate &logins() { return logins_; }
    LibraryRoutes &library() { return library_; }
    OfferRoutes &offers() { return offers_; }
    // Listens (HTTPS with cert and key, the whole chain in cert); false with a reason.
    bool serve(const QHostAddress &address, int port, const QString &cert, const QString &key, QString *why);

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    // What a reply needs of its request; it may be answered after the parser moved on.
    struct Request
    {
        QByteArray method;
        QUrl url;
        QByteArray host;
        QByteArray origin;
        QByteArray authorization;
        QByteArray language;
        QByteArray cookie;
        QByteArray csrf; // X-CSRF-Token
        QByteArray body; // a POST's, bounded by RouteTable
        QByteArray contentType;
        bool form = false; // the body is application/x-www-form-urlencoded
        QHostAddress peer;
        bool upgrade = false;
    };
    struct Live
    {
        QPointer<QTcpSocket> socket;
        int missedPings = 0;
        QString group; // the page shows only this group's machines (all when empty)
    };
    static Request read(const QHttpServerRequest &request, QTcpSocket *socket);
    bool knownName(const QByteArray &host, bool origin) const;
    // Why a WebSocket upgrade is refused; an empty reply when it may go on.
    HttpReply refuseUpgrade(const Request &r);
    void answer(QTcpSocket *socket, const Request &r);
    // The request of a caller known (or none where no login is needed), as AccessGate lets it.
    void proceed(QTcpSocket *socket, const Request &r, const AccessGate::Caller &caller);
    void formLogin(QTcpSocket *socket, const Request &r);
    // The reply to a request whose login is good; from the reader for the database's routes.
    void respond(QTcpSocket *socket, const Request &r, const AccessGate::Caller &caller);
    static void send(QTcpSocket *socket, const Request &r, const HttpReply &reply);
    HttpReply route(const Request &r, const AccessGate::Caller &caller);
    void onWebSocket();
    void push();
    void ping();
    void sendLive(QWebSocket *to, const QString &text);
    void sendHealth(QWebSocket *to);

    Dashboard *const dashboard_;
    const AccountBook *const accounts_;
    LoginGate logins_;
    AccessGate access_;
    ApiReader reader_;
    LibraryRoutes library_;
    OfferRoutes offers_;
    QSet<QString> names_;
    QHash<QWebSocket *, Live> sockets_;
    QList<QPointer<QTcpSocket>> upgraded_; // connections handed to the WebSocket server
    QTimer push_;
    QTimer ping_;
    qint64 fullBytes_ = 0; // the largest whole picture sent
};
