#pragma once

#include "data/protocol.h"

#include <QtGlobal>

// The datagrams of the controller's test modes, exchanged on the panel's command port while a
// test page is open: the test command the page sends, and the reports and the closing answer
// that come back. Pure functions, so the fuzzer can drive them.
class TestDatagram
{
public:
    static constexpr int kSize = Protocol::DatagramSize;

    // The two tests, the protocol's test kinds: the byte that marks their commands and reports,
    // and the group of the UpdateCommand that enters and leaves each mode.
    using Test = Protocol::TestKind;
    static constexpr Test InputOutput = Protocol::IoTest;
    static constexpr Test Carriage = Protocol::CarriageTest;
    static constexpr unsigned char kIoMode = Protocol::IoTestMode;
    static constexpr unsigned char kCarriageMode = Protocol::CarriageTestMode;
    static unsigned char modeOf(Test test) { return test == InputOutput ? kIoMode : kCarriageMode; }

    // QueryCommand 02 04 00 1B test first(le) value(le) 55 AA. The I/O test's first word is the output
    // index; the carriage test's is the test type (low byte) and the object (high byte).
    static void command(unsigned char *out, Test test, unsigned short first, unsigned short value);

    // What a datagram from the controller means to the page of a test: a report of that test
    // (QueryCommand .. 1B test), the controller leaving the mode (UpdateCommand .. 1B mode), or nothing. Shorter
    // than 12 bytes is nothing: no byte of it may be guessed.
    enum Kind { Other, Report, Closed };
    static Kind classify(const unsigned char *bytes, qint64 size, Test test);

    // A report's fields: byte 6, byte 7 and the value in bytes 8-9.
    struct Fields
    {
        int first;
        int second;
        unsigned short value;
    };
    static Fields fields(const unsigned char *report);
};
