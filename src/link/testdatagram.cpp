#include "testdatagram.h"

#include "data/protocol.h"

namespace {

constexpr unsigned char kTestCommand = Protocol::QueryCommand;
constexpr unsigned char kModeCommand = Protocol::UpdateCommand;
constexpr unsigned char kEscape = 0x1B;

} // namespace

void TestDatagram::command(unsigned char *out, Test test, unsigned short first, unsigned short value)
{
    const unsigned char bytes[kSize] = {kTestCommand, 0x02, 0x04, 0x00, kEscape, test,
                                        static_cast<unsigned char>(first & 0xff), static_cast<unsigned char>(first >> 8),
                                        static_cast<unsigned char>(value & 0xff), static_cast<unsigned char>(value >> 8),
                                        0x55, 0xAA};
    for (int i = 0; i < kSize; ++i)
        out[i] = bytes[i];
}

TestDatagram::Kind TestDatagram::classify(const unsigned char *bytes, qint64 size, Test test)
{
    if (!bytes || size < kSize || bytes[4] != kEscape)
        return Other;
    if (bytes[0] == kTestCommand && bytes[5] == test)
        return Report;
    if (bytes[0] == kModeCommand && bytes[5] == modeOf(test))
        return Closed;
    return Other;
}

TestDatagram::Fields TestDatagram::fields(const unsigned char *report)
{
    return {report[6], report[7], static_cast<unsigned short>(report[8] | (report[9] << 8))};
}
