#include "commands.h"

#include "commanddatagram.h"
#include "commandport.h"
#include "controlleraddress.h"

#include "data/protocol.h"

#include "platform/panelenv.h"

namespace {

constexpr int kShortMs = 1000;
constexpr int kReadMs = kMotoStatusTimeoutMs;
constexpr int kLongMs = 20000;

unsigned char exchange(unsigned char *buffer, int timeoutMs)
{
    return commandport(ControllerAddress::ipv4(), PanelEnv::port(Protocol::ControllerPort), PanelEnv::scaledMs(timeoutMs),
                       buffer, CommandDatagram::kSize) & 0xff;
}

} // namespace

unsigned char setparacom(unsigned char cmd, unsigned char object, unsigned short value1, unsigned short value2)
{
    unsigned char buffer[CommandDatagram::kSize];
    CommandDatagram::parameter(buffer, cmd, object, value1, value2);
    return exchange(buffer, kShortMs);
}

unsigned char setparacomlong(unsigned char cmd, unsigned char object, unsigned short value1, unsigned short value2)
{
    unsigned char buffer[CommandDatagram::kSize];
    CommandDatagram::parameter(buffer, cmd, object, value1, value2);
    return exchange(buffer, kLongMs);
}

void setparawithoutrcv(unsigned char cmd, unsigned char object, unsigned short value1, unsigned short value2)
{
    unsigned char buffer[CommandDatagram::kSize];
    CommandDatagram::parameter(buffer, cmd, object, value1, value2);
    commandsend(ControllerAddress::ipv4(), PanelEnv::port(Protocol::ControllerPort), buffer, CommandDatagram::kSize);
}

unsigned char getpara(unsigned char cmd, unsigned char object, unsigned short value1, unsigned short *out)
{
    unsigned char buffer[CommandDatagram::kSize];
    CommandDatagram::parameter(buffer, cmd, object, value1, out ? *out : 0);
    if (!exchange(buffer, kReadMs))
        return Protocol::NotAnswered;
    if (out)
        *out = CharToShort(buffer[Protocol::ResultHighByte], buffer[Protocol::ResultLowByte]);
    return Protocol::Answered;
}

unsigned int getmotostatus()
{
    unsigned char buffer[CommandDatagram::kSize];
    motostatusrequest(buffer);
    if (!exchange(buffer, kReadMs))
        return kNoMotoStatus;
    return motostatusreply(buffer);
}

void motostatusrequest(unsigned char *buffer)
{
    CommandDatagram::parameter(buffer, Protocol::QueryCommand, Protocol::RunningStatus, 0, 0);
}

unsigned int motostatusreply(const unsigned char *reply)
{
    return CharToInt(reply[Protocol::ResultHighByte], reply[Protocol::ResultLowByte], 0, 0);
}

unsigned char setcntcmd(unsigned short arg1, unsigned short arg2, unsigned char arg3)
{
    unsigned char buffer[CommandDatagram::kSize];
    CommandDatagram::row(buffer, arg1, arg2, arg3);
    return exchange(buffer, kShortMs);
}

unsigned short CharToShort(unsigned char hi, unsigned char lo)
{
    return static_cast<unsigned short>(hi * 256u + lo);
}

unsigned int CharToInt(unsigned char a, unsigned char b, unsigned char c, unsigned char d)
{
    return (unsigned(a) << 24) | (unsigned(b) << 16) | (unsigned(c) << 8) | unsigned(d);
}
