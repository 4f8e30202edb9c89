#include "machinecalibration.h"

#include "controlserver.h"

#include "data/protocol.h"
#include "data/rackingvalue.h"
#include "link/commanddatagram.h"

bool MachineCalibration::open(QString *error)
{
    const QHostAddress loopback(QHostAddress::LocalHost);
    if (sender_.open(loopback, loopback))
        return true;
    if (error)
        *error = QStringLiteral("needle report socket cannot be bound");
    return false;
}

int MachineCalibration::replyDelayMs(const QByteArray &d) const
{
    if (d.size() != CommandDatagram::kSize || quint8(d[0]) != Protocol::SetCommand
        || quint8(d[Protocol::ObjectByte]) != Protocol::RackingGroup)
        return 0;
    const int index = quint8(d[6]) | (quint8(d[7]) << 8);
    return index >= RackingValue::kMoveIndex && index < RackingValue::kColumnIndex ? rackingMs_ : 0;
}

void MachineCalibration::registerCommands(ControlServer &control)
{
    control.registerCommand(QStringLiteral("set racking"), [this](const QStringList &args) {
        int ms = 0;
        if (!ControlServer::oneNumber(args, 0, kMaxRackingMs, &ms))
            return ControlReply::fail(QStringLiteral("usage: set racking MS (0 to %1)").arg(kMaxRackingMs));
        rackingMs_ = ms;
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("needle"), [this](const QStringList &args) {
        bool okPulses = false;
        bool okPosition = false;
        const int pulses = args.value(0).toInt(&okPulses);
        const int position = args.value(1).toInt(&okPosition);
        if (args.size() != 2 || !okPulses || !okPosition || pulses < 0 || pulses > 0xFFFF || position < -500
            || position > 0xFFFF - 500)
            return ControlReply::fail(QStringLiteral("usage: needle PULSES POSITION (0 to 65535, -500 to 65035)"));
        sender_.needle(static_cast<unsigned short>(pulses), position);
        return ControlReply::ok();
    });
}
