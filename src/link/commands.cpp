#include "commands.h"

#include "commanddatagram.h"
#include "commandexchange.h"
#include "controlleraddress.h"

#include "data/protocol.h"

#include "platform/panelenv.h"

namespace {

constexpr int kShortMs = 1000;
constexpr int kReadMs = kMotoStatusTimeoutMs;
constexpr int kLongMs = 20000;

unsigned char exchange(unsigned char *buffer, int timeoutMs)
{
    return exchangeCommand(ControllerAddress::ipv4(), PanelEnv::port(Protocol::ControllerPort), PanelEnv::scaledMs(timeoutMs),
                       buffer, CommandDatagram::kSize) & 0xff;
}

} // namespace

unsigned char setParameter(unsigned char cmd, unsigned char object, unsigned short value1, unsigned short value2)
{
    unsigned char buffer[CommandDatagram::kSize];
    CommandDatagram::parameter(buffer, cmd, object, value1, value2);
    return exchange(buffer, kShortMs);
}

unsigned char setParameterLongWait(unsigned char cmd, unsigned char object, unsigned short value1, unsigned short value2)
{
    unsigned char buffer[CommandDatagram::kSize];
    CommandDatagram::parameter(buffer, cmd, object, value1, value2);
    return exchange(buffer, kLongMs);
}

void setParameterNoReply(unsigned char cmd, unsigned char object, unsigned short value1, unsigned short value2)
{
    unsigned char buffer[CommandDatagram::kSize];
    CommandDatagram::parameter(buffer, cmd, object, value1, value2);
    sendCommandOnce(ControllerAddress::ipv4(), PanelEnv::port(Protocol::ControllerPort), buffer, CommandDatagram::kSize);
}

unsigned char getParameter(unsigned char cmd, unsigned char object, unsigned short value1, unsigned short *out)
{
    unsigned char buffer[CommandDatagram::kSize];
    CommandDatagram::parameter(buffer, cmd, object, value1, out ? *out : 0);
    if (!exchange(buffer, kReadMs))
        return Protocol::NotAnswered;
    if (out)
        *out = bytesToWord(buffer[Protocol::ResultHighByte], buffer[Protocol::ResultLowByte]);
    return Protocol::Answered;
}

unsigned int queryCarriageStatus()
{
    unsigned char buffer[CommandDatagram::kSize];
    buildStatusRequest(buffer);
    if (!exchange(buffer, kReadMs))
        return kNoMotoStatus;
    return parseStatusReply(buffer);
}

void buildStatusRequest(unsigned char *buffer)
{
    CommandDatagram::parameter(buffer, Protocol::QueryCommand, Protocol::RunningStatus, 0, 0);
}

unsigned int parseStatusReply(const unsigned char *reply)
{
    return bytesToInt32(reply[Protocol::ResultHighByte], reply[Protocol::ResultLowByte], 0, 0);
}

unsigned char sendRowCommand(unsigned short arg1, unsigned short arg2, unsigned char arg3)
{
    unsigned char buffer[CommandDatagram::kSize];
    CommandDatagram::row(buffer, arg1, arg2, arg3);
    return exchange(buffer, kShortMs);
}

unsigned short bytesToWord(unsigned char hi, unsigned char lo)
{
    return static_cast<unsigned short>(hi * 256u + lo);
}

unsigned int bytesToInt32(unsigned char a, unsigned char b, unsigned char c, unsigned char d)
{
    return (unsigned(a) << 24) | (unsigned(b) << 16) | (unsigned(c) << 8) | unsigned(d);
}
