#include "commanddatagram.h"

#include "data/protocol.h"

#include <cstring>

namespace {

void putWord(unsigned char *at, unsigned short value)
{
    at[0] = static_cast<unsigned char>(value & 0xff);
    at[1] = static_cast<unsigned char>(value >> 8);
}

// Byte 0, the form's bytes 1-3, the escape and the end; the caller fills bytes 5-9.
void frame(unsigned char *buffer, unsigned char cmd, const unsigned char (&form)[3])
{
    buffer[0] = cmd;
    std::memcpy(buffer + 1, form, sizeof form);
    buffer[Protocol::EscapeByte] = Protocol::Escape;
    buffer[Protocol::EndByte] = Protocol::EndMark;
    buffer[Protocol::EndByte + 1] = Protocol::CommandEnd;
}

} // namespace

void CommandDatagram::parameter(unsigned char *buffer, unsigned char cmd, unsigned char object,
                                unsigned short value1, unsigned short value2)
{
    frame(buffer, cmd, Protocol::ParameterForm);
    buffer[Protocol::ObjectByte] = object;
    putWord(buffer + Protocol::FirstValueByte, value1);
    putWord(buffer + Protocol::SecondValueByte, value2);
}

void CommandDatagram::row(unsigned char *buffer, unsigned short arg1, unsigned short arg2, unsigned char arg3)
{
    // The row form's words start one byte earlier than the parameter form's values.
    frame(buffer, Protocol::RowCommand, Protocol::RowForm);
    putWord(buffer + Protocol::ObjectByte, arg1);
    putWord(buffer + Protocol::FirstValueByte + 1, arg2);
    buffer[Protocol::SecondValueByte + 1] = arg3;
}

bool CommandDatagram::isReply(quint32 toAddress, quint16 toPort, quint32 fromAddress, quint16 fromPort,
                              const unsigned char *request, int length, const unsigned char *datagram, qint64 size)
{
    if (length <= 0 || length > kSize || size != length || fromAddress != toAddress || fromPort != toPort)
        return false;
    const int echoed = length < kEchoed ? length : kEchoed;
    return std::memcmp(request, datagram, size_t(echoed)) == 0;
}
