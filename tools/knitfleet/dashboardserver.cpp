#include "dashboardserver.h"

#include "connectionguard.h"
#include "guardedserver.h"
#include "pageroutes.h"
#include "refusallog.h"
#include "routetable.h"

#include "dashboard/dashboard.h"
#include "dashboard/requestfields.h"

#include <QDateTime>
#include <QHttpServerRequest>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QTcpSocket>
#include <QUrlQuery>
#include <QWebSocket>

#include <algorithm>

namespace {

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace

DashboardServer::DashboardServer(Dashboard *dashboard, const AuthFile &auth, const AccountBook *accounts, qint64 sessionIdleMs,
                                 const QStringList &names, QObject *parent)
    : QAbstractHttpServer(parent)
    , dashboard_(dashboard)
    , accounts_(accounts)
    , logins_(auth)
    , access_(accounts, !auth.isEmpty(), sessionIdleMs)
    , reader_(dashboard->options().db, dashboard->options().shifts)
    , library_(&reader_, &dashboard->audit())
    , offers_(&reader_, &dashboard->audit(), &dashboard->recorder())
{
    connect(accounts, &AccountBook::changed, this, [this] { access_.sessions().follow(*accounts_); });
    connect(&logins_, &LoginGate::loginChecked, this, [this](const QString &address, const QByteArray &user, bool ok) {
        dashboard_->audit().record(ok ? QStringLiteral("login") : QStringLiteral("login-failed"), user, {}, address, {}, now());
    });
    for (const QString &n : names)
        names_.insert(RequestFields::host(n.toLatin1()));
    connect(this, &QAbstractHttpServer::newWebSocketConnection, this, &DashboardServer::onWebSocket);
    push_.setInterval(kPushMs);
    connect(&push_, &QTimer::timeout, this, &DashboardServer::push);
    push_.start();
    ping_.setInterval(kPingMs);
    connect(&ping_, &QTimer::timeout, this, &DashboardServer::ping);
    ping_.start();
    connect(dashboard, &Dashboard::healthChanged, this, [this] {
        for (QWebSocket *s : sockets_.keys())
            sendHealth(s);
    });
}

bool DashboardServer::serve(const QHostAddress &address, int port, const QString &cert, const QString &key, QString *why)
{
    // A body past a form's size only from a session whose role may post it: nobody else makes
    // the server hold an upload's megabytes.
    auto server = std::make_unique<GuardedServer>([this](const QByteArray &method, const QByteArray &path, const QByteArray &cookie) {
        return RouteTable::bodyLimit(method, path, [this, &cookie] { return access_.caller(cookie, now()).role; });
    });
    if (!cert.isEmpty()) {
        if (!server->loadTls(cert, key, why))
            return false;
        access_.setTls(true);
    }
    if (!server->listen(address, quint16(port))) {
        *why = QStringLiteral("cannot listen on %1:%2: %3").arg(address.toString()).arg(port).arg(server->errorString());
        return false;
    }
    const bool any = address == QHostAddress::Any || address == QHostAddress::AnyIPv4 || address == QHostAddress::AnyIPv6;
    const QList<QHostAddress> own = any ? QNetworkInterface::allAddresses() : QList<QHostAddress>{address};
    for (const QHostAddress &a : own) {
        names_.insert(a.toString().toLower());
        if (a.isLoopback())
            names_ += {QStringLiteral("localhost"), QStringLiteral("127.0.0.1"), QStringLiteral("::1")};
    }
    bind(server.release());
    return true;
}

DashboardServer::Request DashboardServer::read(const QHttpServerRequest &request, QTcpSocket *socket)
{
    Request r;
    const QHttpServerRequest::Method m = request.method();
    r.method = m == QHttpServerRequest::Method::Get    ? "GET"
             : m == QHttpServerRequest::Method::Head ? "HEAD"
             : m == QHttpServerRequest::Method::Post ? "POST"
                                                      : "OTHER";
    r.url = request.url();
    r.host = request.value("Host");
    r.origin = request.value("Origin");
    r.authorization = request.value("Authorization");
    r.language = request.value("Accept-Language");
    r.cookie = request.value("Cookie");
    r.csrf = request.value("X-CSRF-Token");
    if (r.method == "POST") {
        r.body = request.body();
        r.contentType = request.value("Content-Type");
        r.form = r.contentType.startsWith("application/x-www-form-urlencoded");
    }
    bool mapped = false;
    const quint32 v4 = socket->peerAddress().toIPv4Address(&mapped);
    r.peer = mapped ? QHostAddress(v4) : socket->peerAddress();
    r.upgrade = request.value("Upgrade").compare("websocket", Qt::CaseInsensitive) == 0;
    return r;
}

bool DashboardServer::knownName(const QByteArray &host, bool origin) const
{
    if (!origin)
        return names_.contains(RequestFields::host(host));
    const QUrl url(QString::fromLatin1(host));
    return (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) && names_.contains(url.host().toLower());
}

bool DashboardServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const Request r = read(request, socket);
    if (!r.upgrade) {
        answer(socket, r);
        return true;
    }
    // Qt HttpServer 6.4 asks here whether a WebSocket upgrade may go on: true lets it, false
    // leaves the answer to missingHandler.
    if (refuseUpgrade(r).status != 0)
        return false;
    if (ConnectionGuard *guard = ConnectionGuard::of(socket))
        guard->handOver();
    upgraded_.append(socket);
    return true;
}

HttpReply DashboardServer::refuseUpgrade(const Request &r)
{
    HttpReply none;
    none.status = 0;
    if (!knownName(r.host, false))
        return HttpReply::error(421, "not this server's name");
    // A page of another site may not open the live feed in the office's browser.
    if (!knownName(r.origin, true))
        return HttpReply::error(403, "the live feed opens from the dashboard's own pages only");
    // Only a login already checked right: the upgrade is decided at once.
    if (access_.caller(r.cookie, now()).role == UserStore::Role::None
        && (!logins_.hasAuthFile() || logins_.decide(r.peer, r.authorization, now()).verdict != LoginGate::Verdict::Open))
        return access_.loginAsked(true);
    if (r.url.path() != QLatin1String("/ws"))
        return HttpReply::error(404, "no such page");
    return none;
}

void DashboardServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const Request r = read(request, socket);
    HttpReply reply = r.upgrade ? refuseUpgrade(r) : HttpReply::error(404, "no such page");
    if (reply.status == 0)
        reply = HttpReply::error(400, "not a WebSocket upgrade");
    reply.close = true;
    send(socket, r, reply);
}

void DashboardServer::send(QTcpSocket *socket, const Request &r, const HttpReply &reply)
{
    if (ConnectionGuard *guard = ConnectionGuard::of(socket))
        guard->send(reply, r.method == "HEAD");
}

void DashboardServer::answer(QTcpSocket *socket, const Request &r)
{
    if (!knownName(r.host, false)) {
        RefusalLog::line("host", QStringLiteral("refused %1: Host \"%2\" is not this server's name (421)")
                                     .arg(r.peer.toString(), QString::fromLatin1(r.host.left(80))));
        HttpReply reply = HttpReply::error(421, "not this server's name");
        reply.close = true;
        return send(socket, r, reply);
    }
    if (r.authorization.startsWith("Bearer ")) { // a machine: the library's list and files, nothing else
        QPointer<QTcpSocket> s(socket);
        return library_.answerMachine({r.method, r.url.path(QUrl::FullyDecoded), {}, {}, {}, r.peer, now()},
                                      r.authorization.mid(7).trimmed(), socket, [s, r](const HttpReply &reply) { send(s, r, reply); });
    }
    const AccessGate::Caller caller = access_.caller(r.cookie, now());
    if (caller.role != UserStore::Role::None || r.authorization.isEmpty() || !logins_.hasAuthFile())
        return proceed(socket, r, caller);
    // The auth file's basic login: a viewer's, for scripts.
    AccessGate::Caller basic;
    QByteArray password;
    AuthFile::basic(r.authorization, &basic.user, &password);
    basic.role = UserStore::Role::Viewer;
    const LoginGate::Decision d = logins_.decide(r.peer, r.authorization, now());
    if (d.verdict == LoginGate::Verdict::Open)
        return proceed(socket, r, basic);
    if (d.verdict == LoginGate::Verdict::Wait) {
        RefusalLog::line("login wait", QStringLiteral("refused a login from %1 unchecked: it waits %2 s (429)")
                                           .arg(r.peer.toString()).arg((d.waitMs + 999) / 1000));
        HttpReply reply = HttpReply::error(429, "too many failed logins: try again later");
        reply.header("Retry-After", QByteArray::number((d.waitMs + 999) / 1000));
        reply.close = true;
        return send(socket, r, reply);
    }
    QPointer<QTcpSocket> s(socket);
    logins_.check(r.peer, r.authorization, socket, [this, s, r, basic](bool ok, qint64 waitMs) {
        if (ok)
            return proceed(s, r, basic);
        // A failed login ends the connection: nothing more is read from it, and its answer waits.
        if (ConnectionGuard *guard = ConnectionGuard::of(s))
            guard->stopReading();
        QTimer::singleShot(qMin(waitMs, kMaxRefusalWaitMs), s, [this, s, r] { send(s, r, access_.loginAsked(true)); });
    });
}

void DashboardServer::proceed(QTcpSocket *socket, const Request &r, const AccessGate::Caller &caller)
{
    // Under Referrer-Policy no-referrer a browser's own form says Origin "null": the token decides.
    const bool ownOrigin = r.origin.isEmpty() || r.origin == "null" || knownName(r.origin, true);
    AccessGate::Asked asked{r.method, r.url.path(QUrl::FullyDecoded), ownOrigin, r.csrf};
    if (asked.csrf.isEmpty() && r.form)
        asked.csrf = RequestFields::formField(r.body, "csrf");
    const HttpReply refused = access_.refuse(asked, caller);
    if (refused.status != 0)
        return send(socket, r, refused);
    if (r.method == "POST" && asked.path == QLatin1String("/login"))
        return formLogin(socket, r);
    if (r.method == "POST" && asked.path == QLatin1String("/logout")) {
        dashboard_->audit().record(QStringLiteral("logout"), caller.user, {}, r.peer.toString(), {}, now());
        return send(socket, r, access_.signOut(caller));
    }
    respond(socket, r, caller);
}

void DashboardServer::formLogin(QTcpSocket *socket, const Request &r)
{
    const QByteArray user = r.form ? RequestFields::formField(r.body, "user") : QByteArray();
    const QByteArray password = r.form ? RequestFields::formField(r.body, "password") : QByteArray();
    const UserStore::Account *account = UserStore::validName(user) ? accounts_->find(user) : nullptr;
    const LoginGate::Decision d = logins_.decideAccount(r.peer, user, account != nullptr, now());
    if (d.verdict == LoginGate::Verdict::Wait) {
        RefusalLog::line("login wait", QStringLiteral("refused a login from %1 unchecked: it waits %2 s")
                                           .arg(r.peer.toString()).arg((d.waitMs + 999) / 1000));
        return send(socket, r, AccessGate::redirect("/login?locked=1", true));
    }
    const QByteArray hash = account != nullptr ? account->hash : accounts_->anyHash();
    QPointer<QTcpSocket> s(socket);
    logins_.checkAccount(r.peer, user, account != nullptr, password, hash, socket, [this, s, r, user, hash](bool ok, qint64 waitMs) {
        // The account as it is now: removed or given a new password meanwhile, the check is void.
        const UserStore::Account *current = accounts_->find(user);
        if (ok && current != nullptr && current->hash == hash)
            return send(s, r, access_.signIn(*current, now()));
        if (ConnectionGuard *guard = ConnectionGuard::of(s))
            guard->stopReading();
        QTimer::singleShot(qMin(waitMs, kMaxRefusalWaitMs), s, [s, r] { send(s, r, AccessGate::redirect("/login?failed=1", true)); });
    });
}

void DashboardServer::respond(QTcpSocket *socket, const Request &r, const AccessGate::Caller &caller)
{
    QPointer<QTcpSocket> s(socket);
    const QString path = r.url.path(QUrl::FullyDecoded);
    const LibraryRoutes::Asked asked{r.method, path, r.contentType, r.body, caller.user, r.peer, now()};
    const auto sent = [s, r](const HttpReply &reply) { send(s, r, reply); };
    if (LibraryRoutes::covers(path)) // its paths are checked there, a name by the job names' rule
        return library_.answer(asked, socket, sent);
    if (OfferRoutes::covers(path))
        return offers_.answer(asked, socket, sent);
    const HttpReply reply = route(r, caller);
    if (reply.status != 0)
        return send(socket, r, reply);
    const auto done = [s, r](const DashboardApi::Answer &a) { send(s, r, HttpReply::of(a)); };
    if (!reader_.ask(path, QUrlQuery(r.url), now(), socket, done))
        send(socket, r, HttpReply::error(503, "too many requests wait for the database: try again"));
}

// The reply, or one of status 0 for a route the reader answers.
HttpReply DashboardServer::route(const Request &r, const AccessGate::Caller &caller)
{
    const QString path = r.url.path(QUrl::FullyDecoded);
    if (path.split(QLatin1Char('/')).contains(QStringLiteral("..")) || path.contains(QLatin1Char('\\'))
        || path.contains(QChar(0)) || !path.startsWith(QLatin1Char('/')))
        return HttpReply::error(400, "bad path");
    if (r.method == "POST") // under a route that takes POSTs, a path that does not
        return HttpReply::error(405, "not a method this page takes").header("Allow", "GET, HEAD");
    const HttpReply page = PageRoutes::answer(path, r.url, r.language);
    if (page.status != 0)
        return page;
    if (path == QLatin1String("/api/session"))
        return AccessGate::session(caller);
    if (path.startsWith(QLatin1String("/api/"))) {
        HttpReply later;
        later.status = 0;
        return DashboardApi::stored(path) ? later : HttpReply::of(dashboard_->api(path, QUrlQuery(r.url), now()));
    }
    if (path == QLatin1String("/ws"))
        return HttpReply::error(400, "a WebSocket only");
    return HttpReply::error(404, "no such page");
}

void DashboardServer::onWebSocket()
{
    while (hasPendingWebSocketConnections()) {
        // Host, origin, path and login were checked in handleRequest.
        QWebSocket *s = nextPendingWebSocketConnection().release();
        // Its connection, whose unsent bytes tell whether the page reads.
        upgraded_.removeAll(nullptr);
        const auto tcp = std::find_if(upgraded_.begin(), upgraded_.end(), [s](const QPointer<QTcpSocket> &t) {
            return t->peerPort() == s->peerPort() && t->peerAddress() == s->peerAddress();
        });
        // A hall's TV asks for its hall only: a tenth of the floor's bytes to build, send and read.
        const QString group = QUrlQuery(s->requestUrl()).queryItemValue(QStringLiteral("group")).left(kMaxGroup);
        sockets_.insert(s, Live{tcp == upgraded_.end() ? nullptr : *tcp, 0, group});
        if (tcp != upgraded_.end())
            upgraded_.erase(tcp);
        connect(s, &QWebSocket::disconnected, this, [this, s] {
            sockets_.remove(s);
            s->deleteLater();
        });
        connect(s, &QWebSocket::pong, this, [this, s] {
            if (sockets_.contains(s))
                sockets_[s].missedPings = 0;
        });
        // Pages only listen: whatever they send is dropped, never read into memory.
        s->setMaxAllowedIncomingFrameSize(1024);
        s->setMaxAllowedIncomingMessageSize(1024);
        const QByteArray full = dashboard_->liveFull(now(), group);
        fullBytes_ = qMax(fullBytes_, qint64(full.size()));
        sendLive(s, QString::fromUtf8(full));
        sendHealth(s);
    }
}

void DashboardServer::sendLive(QWebSocket *to, const QString &text)
{
    const Live live = sockets_.value(to);
    // A page that does not read gets no more than this queued before it is closed; the whole
    // floor (over 1 MiB at a few thousand machines) always gets through once.
    if (live.socket && live.socket->bytesToWrite() > kMaxUnsent + fullBytes_) {
        RefusalLog::line("live", QStringLiteral("closed the live feed of %1: over 1 MiB unread").arg(to->peerAddress().toString()));
        to->abort();
        return;
    }
    to->sendTextMessage(text);
}

void DashboardServer::push()
{
    if (sockets_.isEmpty())
        return;
    const QJsonArray changes = dashboard_->liveChanges(now());
    if (changes.isEmpty())
        return;
    QHash<QString, QString> texts; // group: its message, empty when none of its machines changed
    for (QWebSocket *s : sockets_.keys()) {
        const QString group = sockets_.value(s).group;
        auto text = texts.constFind(group);
        if (text == texts.constEnd()) {
            const QJsonArray rows = group.isEmpty() ? changes : LiveFeed::ofGroup(changes, group);
            text = texts.insert(group, rows.isEmpty() ? QString() : QString::fromUtf8(LiveFeed::message("changes", rows)));
        }
        if (!text->isEmpty())
            sendLive(s, *text);
    }
}

void DashboardServer::ping()
{
    for (QWebSocket *s : sockets_.keys()) {
        if (sockets_[s].missedPings >= 2) {
            RefusalLog::line("live", QStringLiteral("closed the live feed of %1: two pings unanswered").arg(s->peerAddress().toString()));
            s->abort();
            continue;
        }
        ++sockets_[s].missedPings;
        s->ping();
    }
}

void DashboardServer::sendHealth(QWebSocket *to)
{
    const DbWriter &w = dashboard_->writer();
    const QJsonObject o{{QStringLiteral("type"), QStringLiteral("health")},
                        {QStringLiteral("database"), w.healthy() ? QStringLiteral("ok") : QStringLiteral("database unavailable")}};
    sendLive(to, QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)));
}
