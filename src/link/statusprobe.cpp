#include "statusprobe.h"

#include "commanddatagram.h"
#include "commands.h"
#include "commandtrace.h"
#include "controlleraddress.h"
#include "controllerpresence.h"

#include "platform/panelenv.h"

#include <QUdpSocket>

namespace {

constexpr quint16 kCommandPort = 2900;
constexpr quint16 kControllerPort = 2800;

} // namespace

StatusProbe::StatusProbe(QObject *parent)
    : QObject(parent)
{
    static_assert(sizeof request_ == CommandDatagram::kSize, "one command datagram");
    interval_.setInterval(kIntervalMs);
    connect(&interval_, &QTimer::timeout, this, &StatusProbe::tick);
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &StatusProbe::release);
    ControllerPresence &presence = ControllerPresence::instance();
    connect(&presence, &ControllerPresence::portWanted, this, &StatusProbe::release);
    interval_.start();
}

StatusProbe::~StatusProbe()
{
    release();
}

void StatusProbe::tick()
{
    const ControllerPresence &presence = ControllerPresence::instance();
    if (waiting() || !presence.offline() || presence.portHeld())
        return;
    socket_ = new QUdpSocket(this);
    if (!socket_->bind(QHostAddress::AnyIPv4, PanelEnv::port(kCommandPort), QAbstractSocket::DontShareAddress)) {
        release();
        return;
    }
    connect(socket_, &QUdpSocket::readyRead, this, &StatusProbe::receive);
    motostatusrequest(request_);
    socket_->writeDatagram(reinterpret_cast<const char *>(request_), CommandDatagram::kSize,
                           ControllerAddress::current(), PanelEnv::port(kControllerPort));
    CommandTrace::print(CommandTrace::sendLine(request_, CommandDatagram::kSize));
    deadline_.start(PanelEnv::scaledMs(kMotoStatusTimeoutMs));
}

void StatusProbe::receive()
{
    const quint32 controller = ControllerAddress::current().toIPv4Address();
    const quint16 port = PanelEnv::port(kControllerPort);
    unsigned char datagram[1500];
    while (socket_ && socket_->hasPendingDatagrams()) {
        QHostAddress from;
        quint16 fromPort = 0;
        const qint64 n = socket_->readDatagram(reinterpret_cast<char *>(datagram), sizeof datagram, &from, &fromPort);
        if (n < 0)
            break;
        if (!CommandDatagram::isReply(controller, port, from.toIPv4Address(), fromPort, request_,
                                      CommandDatagram::kSize, datagram, n))
            continue;
        CommandTrace::print(CommandTrace::recvLine(datagram, CommandDatagram::kSize));
        release();
        ControllerPresence::instance().commandEnded(true);
        Q_EMIT answered(motostatusreply(datagram));
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
