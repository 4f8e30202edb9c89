#include "dashboardserver.h"

#include "connectionguard.h"
#include "dashboard/dashboard.h"

#include "telemetry/telemetryconfig.h"

#include <QDateTime>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QRegularExpression>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QWebSocket>

#include <memory>

namespace {

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

// The language of the page: ?lang= first, else the best of Accept-Language; English otherwise.
QByteArray language(const QHttpServerRequest &request)
{
    const QString asked = QUrlQuery(request.url()).queryItemValue(QStringLiteral("lang"));
    if (asked == QLatin1String("zh") || asked == QLatin1String("en"))
        return asked.toLatin1();
    double best = 0;
    QByteArray lang = "en";
    for (const QByteArray &part : request.value("Accept-Language").split(',')) {
        const QList<QByteArray> bits = part.trimmed().split(';');
        const QByteArray tag = bits.value(0).trimmed().toLower();
        const double q = bits.size() > 1 && bits[1].trimmed().startsWith("q=") ? bits[1].trimmed().mid(2).toDouble() : 1.0;
        if ((tag.startsWith("zh") || tag.startsWith("en")) && q > best) {
            best = q;
            lang = tag.left(2);
        }
    }
    return lang;
}

} // namespace

DashboardServer::DashboardServer(Dashboard *dashboard, QObject *parent)
    : QAbstractHttpServer(parent)
    , dashboard_(dashboard)
{
    connect(this, &QAbstractHttpServer::newWebSocketConnection, this, &DashboardServer::onWebSocket);
    push_.setInterval(kPushMs);
    connect(&push_, &QTimer::timeout, this, &DashboardServer::push);
    push_.start();
    connect(dashboard, &Dashboard::healthChanged, this, [this] {
        for (QWebSocket *s : std::as_const(sockets_))
            sendHealth(s);
    });
}

bool DashboardServer::serve(const QHostAddress &address, int port, const QString &cert, const QString &key, QString *why)
{
    std::unique_ptr<QTcpServer> server;
    if (cert.isEmpty()) {
        server = std::make_unique<GuardedServer<QTcpServer>>();
    } else {
        QFile c(cert);
        QFile k(key);
        const QSslCertificate certificate(c.open(QIODevice::ReadOnly) ? c.read(1 << 20) : QByteArray());
        const QSslKey privateKey(k.open(QIODevice::ReadOnly) ? k.read(1 << 20) : QByteArray(), QSsl::Rsa);
        const QSslKey ecKey(k.isOpen() ? (k.seek(0), k.read(1 << 20)) : QByteArray(), QSsl::Ec);
        if (certificate.isNull() || (privateKey.isNull() && ecKey.isNull())) {
            *why = QStringLiteral("--cert %1 --key %2: not a PEM certificate and key").arg(cert, key);
            return false;
        }
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificate(certificate);
        tls.setPrivateKey(privateKey.isNull() ? ecKey : privateKey);
        auto ssl = std::make_unique<GuardedServer<QSslServer>>();
        ssl->setSslConfiguration(tls);
        server = std::move(ssl);
    }
    if (!server->listen(address, quint16(port))) {
        *why = QStringLiteral("cannot listen on %1:%2: %3").arg(address.toString()).arg(port).arg(server->errorString());
        return false;
    }
    bind(server.release());
    return true;
}

bool DashboardServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const bool loggedIn = auth_.isEmpty() || auth_.accepts(request.value("Authorization"));
    // Qt HttpServer 6.4 asks here whether a WebSocket upgrade may go on: true lets it, false
    // leaves the answer to missingHandler.
    // A page of another site may not open the live feed in the office's browser.
    const QByteArray origin = request.value("Origin");
    const bool sameOrigin = origin.isEmpty() || QUrl(QString::fromLatin1(origin)).authority() == QString::fromLatin1(request.value("Host"));
    if (request.value("Upgrade").compare("websocket", Qt::CaseInsensitive) == 0)
        return loggedIn && sameOrigin && request.url().path() == QLatin1String("/ws");
    if (!loggedIn) {
        refuseLogin(socket);
        return true;
    }
    respond(request, socket, route(request));
    return true;
}

void DashboardServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    if (!auth_.isEmpty() && !auth_.accepts(request.value("Authorization")))
        refuseLogin(socket);
    else
        respond(request, socket, problem(404, "no such page"));
}

void DashboardServer::refuseLogin(QTcpSocket *socket)
{
    // A wrong guess costs a second; the event loop goes on meanwhile.
    QPointer<QTcpSocket> s(socket);
    QTimer::singleShot(kFailedLoginMs, socket, [s] {
        if (!s)
            return;
        const QByteArray body = "{\"error\":\"login required\"}";
        s->write("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"knitfleet\", charset=\"UTF-8\"\r\n"
                 "Content-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size())
                 + "\r\nConnection: close\r\n\r\n" + body);
        s->disconnectFromHost();
    });
}

DashboardServer::Reply DashboardServer::problem(int status, const char *why)
{
    return {status, "application/json", QJsonDocument(QJsonObject{{QStringLiteral("error"), QLatin1String(why)}}).toJson(QJsonDocument::Compact)};
}

DashboardServer::Reply DashboardServer::route(const QHttpServerRequest &request)
{
    if (request.method() != QHttpServerRequest::Method::Get)
        return problem(405, "read-only: GET only");
    const QString path = request.url().path(QUrl::FullyDecoded);
    if (path.split(QLatin1Char('/')).contains(QStringLiteral("..")) || path.contains(QLatin1Char('\\'))
        || path.contains(QChar(0)) || !path.startsWith(QLatin1Char('/')))
        return problem(400, "bad path");
    if (path == QLatin1String("/"))
        return page(QStringLiteral("index.html"), request);
    if (path == QLatin1String("/shifts"))
        return page(QStringLiteral("shifts.html"), request);
    if (path.startsWith(QLatin1String("/machine/")) && TelemetryConfig::isMachineId(path.mid(9)))
        return page(QStringLiteral("machine.html"), request);
    if (path.startsWith(QLatin1String("/static/")))
        return file(path.mid(8));
    if (path.startsWith(QLatin1String("/api/"))) {
        const DashboardApi::Answer a = dashboard_->api(path, QUrlQuery(request.url()), now());
        return {a.status, a.type, a.body};
    }
    if (path == QLatin1String("/ws"))
        return problem(400, "a WebSocket only");
    return problem(404, "no such page");
}

DashboardServer::Reply DashboardServer::file(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[a-z0-9_-]+(\\.min)?\\.(js|css|html|png)$"));
    QFile f(QStringLiteral(":/pages/") + name);
    if (!plain.match(name).hasMatch() || !f.open(QIODevice::ReadOnly))
        return problem(404, "no such file");
    const QString ext = name.section(QLatin1Char('.'), -1);
    const QByteArray type = ext == QLatin1String("js")    ? "text/javascript; charset=utf-8"
                            : ext == QLatin1String("css") ? "text/css; charset=utf-8"
                            : ext == QLatin1String("png") ? "image/png"
                                                          : "text/html; charset=utf-8";
    return {200, type, f.readAll()};
}

DashboardServer::Reply DashboardServer::page(const QString &name, const QHttpServerRequest &request)
{
    Reply r = file(name);
    r.body.replace("{{lang}}", language(request));
    return r;
}

void DashboardServer::respond(const QHttpServerRequest &request, QTcpSocket *socket, const Reply &reply)
{
    QHttpServerResponder responder = makeResponder(request, socket);
    responder.writeStatusLine(QHttpServerResponder::StatusCode(reply.status));
    responder.writeHeader("Content-Type", reply.type);
    responder.writeHeader("Content-Length", QByteArray::number(reply.body.size()));
    responder.writeHeader("Content-Security-Policy", "default-src 'self'");
    responder.writeHeader("X-Content-Type-Options", "nosniff");
    responder.writeHeader("Referrer-Policy", "no-referrer");
    responder.writeHeader("Cache-Control", "no-store");
    if (reply.status == 405)
        responder.writeHeader("Allow", "GET");
    if (reply.type.startsWith("text/csv"))
        responder.writeHeader("Content-Disposition", "attachment; filename=\"knitfleet.csv\"");
    responder.writeBody(reply.body);
}

void DashboardServer::onWebSocket()
{
    while (hasPendingWebSocketConnections()) {
        // Path and login were checked in handleRequest.
        QWebSocket *s = nextPendingWebSocketConnection().release();
        sockets_.append(s);
        connect(s, &QWebSocket::disconnected, this, [this, s] {
            sockets_.removeAll(s);
            s->deleteLater();
        });
        // Pages only listen: whatever they send is dropped, never read into memory.
        s->setMaxAllowedIncomingMessageSize(1024);
        s->sendTextMessage(QString::fromUtf8(dashboard_->liveFull(now())));
        sendHealth(s);
    }
}

void DashboardServer::push()
{
    if (sockets_.isEmpty())
        return;
    const QByteArray changes = dashboard_->liveChanges(now());
    if (changes.isEmpty())
        return;
    const QString text = QString::fromUtf8(changes);
    for (QWebSocket *s : std::as_const(sockets_))
        s->sendTextMessage(text);
}

void DashboardServer::sendHealth(QWebSocket *to)
{
    const DbWriter &w = dashboard_->writer();
    const QJsonObject o{{QStringLiteral("type"), QStringLiteral("health")},
                        {QStringLiteral("database"), w.healthy() ? QStringLiteral("ok") : w.problem()}};
    to->sendTextMessage(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)));
}
