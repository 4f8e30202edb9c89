#include "updatebracket.h"

#include "data/protocol.h"
#include "link/commands.h"
#include "platform/sleeper.h"

#include <QElapsedTimer>

UpdateBracket::UpdateBracket(int group, Send send)
    : group_(static_cast<unsigned char>(group))
    , send_(std::move(send))
{
    if (!send_) {
        send_ = [](unsigned char command, unsigned char g, unsigned short value1, unsigned short value2) {
            return setParameter(command, g, value1, value2) == Protocol::Answered;
        };
    }
}

UpdateBracket &UpdateBracket::withFloor(int ms)
{
    floorMs_ = ms;
    return *this;
}

bool UpdateBracket::open() const
{
    return once(Protocol::UpdateCommand, Protocol::Open, 0);
}

bool UpdateBracket::set(unsigned short index, unsigned short value) const
{
    return once(Protocol::SetCommand, index, value);
}

bool UpdateBracket::close() const
{
    return once(Protocol::UpdateCommand, Protocol::Close, 0);
}

bool UpdateBracket::openRetrying() const
{
    return retrying(Protocol::UpdateCommand, Protocol::Open, 0);
}

bool UpdateBracket::setRetrying(unsigned short index, unsigned short value) const
{
    return retrying(Protocol::SetCommand, index, value);
}

bool UpdateBracket::closeRetrying() const
{
    return retrying(Protocol::UpdateCommand, Protocol::Close, 0);
}

bool UpdateBracket::once(unsigned char command, unsigned short value1, unsigned short value2) const
{
    QElapsedTimer clock;
    clock.start();
    if (send_(command, group_, value1, value2))
        return true;
    const qint64 spent = clock.elapsed();
    if (spent < floorMs_)
        Sleeper::sleepMs(int(floorMs_ - spent));
    return false;
}

bool UpdateBracket::retrying(unsigned char command, unsigned short value1, unsigned short value2) const
{
    for (int i = 0; i < kTries; ++i) {
        if (once(command, value1, value2))
            return true;
    }
    return false;
}
