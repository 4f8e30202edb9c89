#include "testdatagram.h"

#include "data/protocol.h"

#include <cstring>

namespace {

constexpr unsigned char kTestCommand = Protocol::QueryCommand;
constexpr unsigned char kModeCommand = Protocol::UpdateCommand;

unsigned char low(unsigned short v)
{
    return static_cast<unsigned char>(v & 0xff);
}

unsigned char high(unsigned short v)
{
    return static_cast<unsigned char>(v >> 8);
}

} // namespace

void TestDatagram::command(unsigned char *out, Test test, unsigned short first, unsigned short value)
{
    out[0] = kTestCommand;
    std::memcpy(out + 1, Protocol::TestForm, sizeof Protocol::TestForm);
    const unsigned char rest[] = {Protocol::Escape, test, low(first), high(first), low(value), high(value),
                                  Protocol::EndMark, Protocol::TestEnd};
    std::memcpy(out + Protocol::EscapeByte, rest, sizeof rest);
}

TestDatagram::Kind TestDatagram::classify(const unsigned char *bytes, qint64 size, Test test)
{
    if (!bytes || size < kSize || bytes[Protocol::EscapeByte] != Protocol::Escape)
        return Other;
    if (bytes[0] == kTestCommand && bytes[Protocol::ObjectByte] == test)
        return Report;
    if (bytes[0] == kModeCommand && bytes[Protocol::ObjectByte] == modeOf(test))
        return Closed;
    return Other;
}

TestDatagram::Fields TestDatagram::fields(const unsigned char *report)
{
    const unsigned char *value = report + Protocol::SecondValueByte;
    return {report[Protocol::FirstValueByte], report[Protocol::FirstValueByte + 1],
            static_cast<unsigned short>(value[0] | (value[1] << 8))};
}
