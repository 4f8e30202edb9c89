#include "machinestate.h"

bool MachineState::setSpeedState(int state)
{
    if (state != 1 && state != 2 && state != 3)
        return false;
    const Kind before = kind();
    known_ = true;
    running_ = state != 1;
    return kind() != before;
}

bool MachineState::setOffline(bool offline)
{
    const Kind before = kind();
    offline_ = offline;
    return kind() != before;
}

MachineState::Kind MachineState::kind() const
{
    if (offline_)
        return Kind::Offline;
    if (!known_)
        return Kind::Unknown;
    return running_ ? Kind::Knitting : Kind::Stopped;
}

QString MachineState::text(Kind kind)
{
    switch (kind) {
    case Kind::Knitting:
        return tr("正在编织");
    case Kind::Stopped:
        return tr("停机");
    case Kind::Offline:
        return tr("主控制器未连接");
    case Kind::Unknown:
        break;
    }
    return tr("正在连接主控制器");
}
