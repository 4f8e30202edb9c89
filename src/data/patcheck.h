#pragma once

#include "protocol.h"

// Outcome of the .pat file check: the result code and the header facts behind it.
struct PatCheck
{
    enum Code {
        Ok = Protocol::CheckOk, OpenFailed = Protocol::CheckOpenFailed, NoChecksum = Protocol::CheckNoChecksum,
        BadChecksum = Protocol::CheckBadChecksum, TooLarge = Protocol::CheckTooLarge, BadSize = Protocol::CheckBadSize,
        TooWide = Protocol::CheckTooWide, ZeroWidth = Protocol::CheckZeroWidth, TooLow = Protocol::CheckTooLow,
        TooShort = Protocol::CheckTooShort
    };

    int code = OpenFailed;
    long long size = -1;       // bytes, -1 when the file could not be opened
    int width = -1;            // stored width in pixels, -1 when the header was not read
    int lineBytes = -1;        // W = width / 2
    int height = -1;
    long long expected = -1;   // W * (height + 1), the size without checksum
    int storedChecksum = -1;
    int computedChecksum = -1;
};
