#include "commanddatagram.h"

#include "data/protocol.h"

#include <cstring>

void CommandDatagram::parameter(unsigned char *buffer, unsigned char cmd, unsigned char object,
                                unsigned short value1, unsigned short value2)
{
    buffer[0] = cmd;
    buffer[1] = 0x41;
    buffer[2] = 0x00;
    buffer[3] = 0x00;
    buffer[4] = 0x1B;
    buffer[5] = object;
    buffer[6] = static_cast<unsigned char>(value1 & 0xff);
    buffer[7] = static_cast<unsigned char>(value1 >> 8);
    buffer[8] = static_cast<unsigned char>(value2 & 0xff);
    buffer[9] = static_cast<unsigned char>(value2 >> 8);
    buffer[10] = 0x55;
    buffer[11] = 0x00;
}

void CommandDatagram::row(unsigned char *buffer, unsigned short arg1, unsigned short arg2, unsigned char arg3)
{
    buffer[0] = Protocol::RowCommand;
    buffer[1] = 0x04;
    buffer[2] = 0x01;
    buffer[3] = 0x00;
    buffer[4] = 0x1B;
    buffer[5] = static_cast<unsigned char>(arg1 & 0xff);
    buffer[6] = static_cast<unsigned char>(arg1 >> 8);
    buffer[7] = static_cast<unsigned char>(arg2 & 0xff);
    buffer[8] = static_cast<unsigned char>(arg2 >> 8);
    buffer[9] = arg3;
    buffer[10] = 0x55;
    buffer[11] = 0x00;
}

bool CommandDatagram::isReply(quint32 toAddress, quint16 toPort, quint32 fromAddress, quint16 fromPort,
                              const unsigned char *request, int length, const unsigned char *datagram, qint64 size)
{
    if (length <= 0 || length > kSize || size != length || fromAddress != toAddress || fromPort != toPort)
        return false;
    const int echoed = length < kEchoed ? length : kEchoed;
    return std::memcmp(request, datagram, size_t(echoed)) == 0;
}
