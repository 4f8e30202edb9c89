#include "controlserver.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>

namespace {

constexpr int kMaxNameWords = 3;

QString oneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

ControlServer::ControlServer(QObject *parent)
    : QObject(parent)
    , server_(new QTcpServer(this))
{
    connect(server_, &QTcpServer::newConnection, this, &ControlServer::onConnection);
    registerCommand(QStringLiteral("help"), [this](const QStringList &) {
        return ControlReply::ok(commandNames());
    });
}

ControlServer::~ControlServer() = default;

void ControlServer::registerCommand(const QString &name, Handler handler)
{
    const QString key = name.simplified();
    if (key.isEmpty() || !handler)
        return;
    commands_[key].push_back(std::move(handler));
}

void ControlServer::registerFaults(const QStringList &kinds, const std::function<bool(const QStringList &, QString *)> &apply)
{
    for (const QString &kind : kinds) {
        registerCommand(QStringLiteral("fault ") + kind, [apply, kind](const QStringList &args) {
            QString why;
            return apply(QStringList{kind} + args, &why) ? ControlReply::ok() : ControlReply::fail(why);
        });
    }
}

bool ControlServer::oneNumber(const QStringList &args, int low, int high, int *out)
{
    bool ok = false;
    const int v = args.value(0).toInt(&ok);
    if (args.size() != 1 || !ok || v < low || v > high)
        return false;
    *out = v;
    return true;
}

QStringList ControlServer::commandNames() const
{
    QStringList names = commands_.keys();
    names << QStringLiteral("quit");
    std::sort(names.begin(), names.end());
    return names;
}

bool ControlServer::listen(const QHostAddress &address, quint16 port)
{
    if (!address.isLoopback()) {
        error_ = QStringLiteral("the control port listens on loopback only");
        return false;
    }
    if (!server_->listen(address, port)) {
        error_ = server_->errorString();
        return false;
    }
    return true;
}

quint16 ControlServer::port() const
{
    return server_->serverPort();
}

QStringList ControlServer::execute(const QString &line, bool *quit)
{
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {};
    if (words.size() == 1 && words.first() == QLatin1String("quit")) {
        if (quit)
            *quit = true;
        return {QStringLiteral("ok")};
    }
    for (int n = std::min<int>(kMaxNameWords, int(words.size())); n >= 1; --n) {
        const auto it = commands_.constFind(words.mid(0, n).join(QLatin1Char(' ')));
        if (it == commands_.constEnd())
            continue;
        const QStringList args = words.mid(n);
        QStringList out;
        QString error;
        for (const Handler &h : it.value()) {
            const ControlReply r = h(args);
            for (const QString &l : r.lines)
                out << oneLine(l);
            if (error.isEmpty())
                error = r.error;
        }
        out << (error.isEmpty() ? QStringLiteral("ok") : QStringLiteral("error ") + oneLine(error));
        return out;
    }
    return {QStringLiteral("error unknown command ") + words.first()};
}

void ControlServer::onConnection()
{
    while (QTcpSocket *s = server_->nextPendingConnection()) {
        connect(s, &QTcpSocket::readyRead, this, [this, s] { onReadable(s); });
        connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
    }
}

void ControlServer::onReadable(QTcpSocket *socket)
{
    while (socket->canReadLine()) {
        const QByteArray raw = socket->readLine(kMaxLine + 2);
        if (!raw.endsWith('\n')) {
            socket->write("error line too long\n");
            socket->disconnectFromHost();
            return;
        }
        QString line = QString::fromUtf8(raw).trimmed();
        line.replace(QLatin1Char('\t'), QLatin1Char(' '));
        bool quit = false;
        const QStringList reply = execute(line, &quit);
        for (const QString &l : reply)
            socket->write(l.toUtf8() + '\n');
        socket->flush();
        if (quit) {
            socket->waitForBytesWritten(1000);
            Q_EMIT quitRequested();
            return;
        }
    }
    if (socket->bytesAvailable() > kMaxLine) {
        socket->write("error line too long\n");
        socket->disconnectFromHost();
    }
}
