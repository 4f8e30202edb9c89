#include "statusprobe.h"

#include "commanddatagram.h"
#include "commands.h"
#include "commandtrace.h"
#include "controlleraddress.h"
#include "controllerpresence.h"
#include "datagramsocket.h"

#include "data/protocol.h"
#include "platform/panelenv.h"

StatusProbe::StatusProbe(QObject *parent)
    : QObject(parent)
    , presence_(ControllerPresence::find())
{
    static_assert(sizeof request_ == CommandDatagram::kSize, "one command datagram");
    interval_.setInterval(kIntervalMs);
    connect(&interval_, &QTimer::timeout, this, &StatusProbe::tick);
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &StatusProbe::release);
    if (presence_)
        connect(presence_, &ControllerPresence::portWanted, this, &StatusProbe::release);
    interval_.start();
}

StatusProbe::~StatusProbe()
{
    release();
}

void StatusProbe::tick()
{
    if (waiting() || !presence_ || !presence_->offline() || presence_->portHeld())
        return;
    socket_ = new DatagramSocket(this);
    if (!socket_->bind(PanelEnv::port(Protocol::PanelCommandPort))) {
        release();
        return;
    }
    connect(socket_, &DatagramSocket::readyRead, this, &StatusProbe::receive);
    buildStatusRequest(request_);
    socket_->sendTo(request_, CommandDatagram::kSize, ControllerAddress::ipv4(), PanelEnv::port(Protocol::ControllerPort));
    CommandTrace::print(CommandTrace::sendLine(request_, CommandDatagram::kSize));
    deadline_.start(PanelEnv::scaledMs(kMotoStatusTimeoutMs));
}

void StatusProbe::receive()
{
    const quint32 controller = ControllerAddress::ipv4();
    const quint16 port = PanelEnv::port(Protocol::ControllerPort);
    unsigned char datagram[1500];
    while (socket_) {
        quint32 from = 0;
        quint16 fromPort = 0;
        const int n = socket_->receive(datagram, int(sizeof datagram), &from, &fromPort);
        if (n < 0)
            break;
        if (!CommandDatagram::isReply(controller, port, from, fromPort, request_,
                                      CommandDatagram::kSize, datagram, n))
            continue;
        CommandTrace::print(CommandTrace::recvLine(datagram, CommandDatagram::kSize));
        release();
        if (presence_)
            presence_->commandEnded(true);
        Q_EMIT answered(parseStatusReply(datagram));
        return;
    }
}

void StatusProbe::release()
{
    deadline_.stop();
    if (!socket_)
        return;
    socket_->close();
    socket_->deleteLater();
    socket_ = nullptr;
}
