#include "powercycle.h"

#include "controlserver.h"

PowerCycle::PowerCycle(QObject *parent)
    : QObject(parent)
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &PowerCycle::powerOn);
}

void PowerCycle::add(std::function<void()> off, std::function<void()> on)
{
    parts_.push_back({std::move(off), std::move(on)});
}

void PowerCycle::restart(int offMs)
{
    if (isOn()) {
        for (const Part &part : parts_)
            part.off();
    }
    timer_.start(offMs);
}

void PowerCycle::powerOn()
{
    for (const Part &part : parts_)
        part.on();
}

void PowerCycle::registerCommands(ControlServer &control)
{
    control.registerCommand(QStringLiteral("restart"), [this](const QStringList &args) {
        int ms = 0;
        if (!ControlServer::oneNumber(args, 0, kMaxOffMs, &ms))
            return ControlReply::fail(QStringLiteral("usage: restart MS (0 to %1)").arg(kMaxOffMs));
        restart(ms);
        return ControlReply::ok();
    });
    control.registerCommand(QStringLiteral("state"), [this](const QStringList &) {
        return ControlReply::ok({isOn() ? QStringLiteral("power on") : QStringLiteral("power off")});
    });
}
