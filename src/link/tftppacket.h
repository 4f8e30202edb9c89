#pragma once

#include <cstdint>

// Builds and parses the five packets of a TFTP transfer (big-endian 16-bit fields). Builders
// return the packet length, or 0 when the packet would not fit the buffer. Plain C++: the file
// tool's transfers use it without Qt.
class TftpPacket
{
public:
    enum Opcode { Rrq = 1, Wrq = 2, Data = 3, Ack = 4, Error = 5 };
    enum ErrorCode { NotDefined = 0, NotFound = 1, AccessViolation = 2, DiskFull = 3,
                     IllegalOperation = 4, UnknownTid = 5, FileExists = 6 };
    static const int kBlockSize = 512;
    static const int kMaxModeLength = 31;
    static const int kMaxNameLength = 255;
    static const int kMaxPacket = 4 + kBlockSize;

    static int makeRequest(int opcode, const char *mode, const char *name, char *buffer, int size);
    static int makeData(int block, const char *data, int length, char *buffer, int size);
    static int makeAck(int block, char *buffer, int size);
    static int makeError(int code, const char *message, char *buffer, int size);

    // A parsed view into the caller's buffer; valid is false for anything malformed
    // (short, unknown opcode, unterminated strings, over-long data or names).
    struct View
    {
        bool valid = false;
        int opcode = 0;
        std::uint16_t block = 0;        // Data, Ack
        std::uint16_t errorCode = 0;    // Error
        const char *data = nullptr; // Data payload
        int dataLength = 0;
        const char *name = nullptr; // Rrq, Wrq (NUL-terminated inside the buffer)
        const char *mode = nullptr; // Rrq, Wrq
        const char *message = nullptr; // Error, may be null when the sender left it out
    };
    static View parse(const char *buffer, int length);
};
