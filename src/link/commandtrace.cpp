#include "commandtrace.h"

#include <cstdio>

namespace {

std::string bytesLine(const char *tag, const unsigned char *bytes, int length)
{
    std::string out(tag);
    char hex[4];
    for (int i = 0; i < length; ++i) {
        std::snprintf(hex, sizeof hex, "%x", unsigned(bytes[i]));
        out += hex;
        out += ' ';
    }
    out += '\n';
    return out;
}

} // namespace

std::string CommandTrace::sendLine(const unsigned char *bytes, int length)
{
    return bytesLine("send:", bytes, length);
}

std::string CommandTrace::recvLine(const unsigned char *bytes, int length)
{
    return bytesLine("recv:", bytes, length) + '\n';
}

std::string CommandTrace::plainLine(const unsigned char *bytes, int length)
{
    return bytesLine("", bytes, length);
}

void CommandTrace::print(const std::string &line)
{
    std::printf("%s", line.c_str());
    std::fflush(stdout);
}
