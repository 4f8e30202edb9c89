#include "commandserver.h"

#include "commandhandler.h"
#include "controlserver.h"
#include "faultlayer.h"
#include "simjournal.h"
#include "simstate.h"

#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

namespace {

constexpr qint64 kMaxDatagram = 2048;

bool number(const QStringList &args, int limit, int *out)
{
    if (args.size() != 1)
        return false;
    bool ok = false;
    const int v = args.first().toInt(&ok);
    if (!ok || v < 0 || v > limit)
        return false;
    *out = v;
    return true;
}

} // namespace

CommandServer::CommandServer(SimState *state, SimJournal *journal, FaultLayer *faults, QObject *parent)
    : QObject(parent)
    , state_(state)
    , journal_(journal)
    , faults_(faults)
    , socket_(new QUdpSocket(this))
{
    connect(socket_, &QUdpSocket::readyRead, this, &CommandServer::onReadable);
}

bool CommandServer::listen(const QHostAddress &address, quint16 port)
{
    if (!socket_->bind(address, port)) {
        error_ = socket_->errorString();
        return false;
    }
    return true;
}

void CommandServer::close()
{
    socket_->close();
}

quint16 CommandServer::port() const
{
    return socket_->localPort();
}

void CommandServer::onReadable()
{
    while (socket_->hasPendingDatagrams()) {
        const QNetworkDatagram d = socket_->receiveDatagram(kMaxDatagram);
        const QByteArray bytes = d.data();
        if (!faults_->admit(FaultLayer::Commands, bytes))
            continue;
        journal_->append(QStringLiteral("cmd"), bytes);
        QByteArray answer;
        bool taken = false;
        for (const Handler &handler : handlers_) {
            if ((taken = handler(bytes, &answer)))
                break;
        }
        if (!taken)
            answer = CommandHandler::answer(*state_, bytes);
        if (answer.isEmpty() || replyFaults_.silent)
            continue;
        if (replyFaults_.drop > 0 && dropped(bytes)) {
            --replyFaults_.drop;
            continue;
        }
        const QHostAddress to = d.senderAddress();
        const quint16 port = quint16(d.senderPort());
        const int delayMs = replyDelay_ ? replyDelay_(bytes) : 0;
        if (delayMs > 0) {
            QTimer::singleShot(delayMs, this, [this, answer, to, port] { reply(answer, to, port); });
        } else {
            reply(answer, to, port);
        }
    }
}

bool CommandServer::dropped(const QByteArray &datagram) const
{
    // The command and group bytes of a parameter command.
    return replyFaults_.dropCommand < 0
        || (datagram.size() == 12 && quint8(datagram[0]) == replyFaults_.dropCommand
            && quint8(datagram[5]) == replyFaults_.dropGroup);
}

void CommandServer::reply(const QByteArray &bytes, const QHostAddress &to, quint16 port)
{
    faults_->send(FaultLayer::Commands, this, bytes, [this, to, port](const QByteArray &b) {
        socket_->writeDatagram(b, to, port);
    });
}

void CommandServer::registerCommands(ControlServer &control)
{
    control.registerCommand(QStringLiteral("fault drop"), [this](const QStringList &args) {
        int n = 0;
        bool command = true;
        bool group = true;
        const int c = args.size() == 3 ? args[1].toInt(&command, 0) : -1;
        const int g = args.size() == 3 ? args[2].toInt(&group, 0) : -1;
        if ((args.size() != 1 && args.size() != 3) || !number(args.mid(0, 1), kMaxDrop, &n) || !command || !group
            || c > 0xff || g > 0xff || (args.size() == 3 && (c < 0 || g < 0)))
            return ControlReply::fail(QStringLiteral("usage: fault drop N [CMD GROUP]"));
        replyFaults_.drop = n;
        replyFaults_.dropCommand = c;
        replyFaults_.dropGroup = g;
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("fault silent"), [this](const QStringList &args) {
        if (!args.isEmpty())
            return ControlReply::fail(QStringLiteral("usage: fault silent"));
        replyFaults_.silent = true;
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("fault clear"), [this](const QStringList &) {
        replyFaults_ = Faults();
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("set"), [this](const QStringList &args) {
        if (args.size() != 2)
            return ControlReply::fail(QStringLiteral("usage: set NAME VALUE"));
        QString why;
        if (!state_->set(args[0], args[1], &why))
            return ControlReply::fail(why);
        return ControlReply::ok();
    });
    // Not a fault: `fault clear` leaves overrides alone, a test clears its own.
    control.registerCommand(QStringLiteral("set reply"), [this](const QStringList &args) {
        QString why;
        if (!state_->setReply(args, &why))
            return ControlReply::fail(why);
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("state"), [this](const QStringList &) {
        return ControlReply::ok(state_->describe());
    });
}
