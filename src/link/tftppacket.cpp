#include "tftppacket.h"

#include <cstring>

namespace {

void put16(char *p, int v)
{
    p[0] = char((v >> 8) & 0xff);
    p[1] = char(v & 0xff);
}

std::uint16_t get16(const char *p)
{
    return std::uint16_t((static_cast<unsigned char>(p[0]) << 8) | static_cast<unsigned char>(p[1]));
}

// Length of a NUL-terminated string that starts at p and ends before end, or -1.
int terminated(const char *p, const char *end)
{
    const void *nul = std::memchr(p, 0, size_t(end - p));
    return nul ? int(static_cast<const char *>(nul) - p) : -1;
}

} // namespace

int TftpPacket::makeRequest(int opcode, const char *mode, const char *name, char *buffer, int size)
{
    if (!mode || !name || (opcode != Rrq && opcode != Wrq))
        return 0;
    const int modeLength = int(::strnlen(mode, kMaxModeLength + 1));
    const int nameLength = int(::strnlen(name, kMaxNameLength + 1));
    if (modeLength > kMaxModeLength || nameLength > kMaxNameLength || nameLength == 0)
        return 0;
    const int length = 2 + nameLength + 1 + modeLength + 1;
    if (length > size)
        return 0;
    put16(buffer, opcode);
    std::memcpy(buffer + 2, name, size_t(nameLength) + 1);
    std::memcpy(buffer + 3 + nameLength, mode, size_t(modeLength) + 1);
    return length;
}

int TftpPacket::makeData(int block, const char *data, int length, char *buffer, int size)
{
    if (length < 0 || length > kBlockSize || 4 + length > size)
        return 0;
    put16(buffer, Data);
    put16(buffer + 2, block);
    if (length > 0)
        std::memcpy(buffer + 4, data, size_t(length));
    return 4 + length;
}

int TftpPacket::makeAck(int block, char *buffer, int size)
{
    if (size < 4)
        return 0;
    put16(buffer, Ack);
    put16(buffer + 2, block);
    return 4;
}

int TftpPacket::makeError(int code, const char *message, char *buffer, int size)
{
    const int messageLength = message ? int(::strnlen(message, kBlockSize)) : 0;
    const int length = 4 + messageLength + 1;
    if (length > size)
        return 0;
    put16(buffer, Error);
    put16(buffer + 2, code);
    if (messageLength > 0)
        std::memcpy(buffer + 4, message, size_t(messageLength));
    buffer[4 + messageLength] = 0;
    return length;
}

TftpPacket::View TftpPacket::parse(const char *buffer, int length)
{
    View v;
    if (!buffer || length < 4)
        return v;
    v.opcode = get16(buffer);
    const char *end = buffer + length;
    switch (v.opcode) {
    case Rrq:
    case Wrq: {
        const char *name = buffer + 2;
        const int nameLength = terminated(name, end);
        if (nameLength <= 0 || nameLength > kMaxNameLength)
            return v;
        const char *mode = name + nameLength + 1;
        if (mode >= end)
            return v;
        const int modeLength = terminated(mode, end);
        if (modeLength <= 0 || modeLength > kMaxModeLength)
            return v;
        v.name = name;
        v.mode = mode;
        break;
    }
    case Data:
        if (length > kMaxPacket)
            return v;
        v.block = get16(buffer + 2);
        v.data = buffer + 4;
        v.dataLength = length - 4;
        break;
    case Ack:
        v.block = get16(buffer + 2);
        break;
    case Error:
        v.errorCode = get16(buffer + 2);
        if (length > 4 && terminated(buffer + 4, end) >= 0)
            v.message = buffer + 4;
        break;
    default:
        return v;
    }
    v.valid = true;
    return v;
}
