#pragma once

#include "protocol.h"

// Outcome of the .cnt file check: the result code and the facts behind it.
struct CntCheck
{
    enum Code {
        Ok = Protocol::CheckOk, OpenFailed = Protocol::CheckOpenFailed, NoChecksum = Protocol::CheckNoChecksum,
        BadChecksum = Protocol::CheckBadChecksum, TooLarge = Protocol::CheckTooLarge, BadSize = Protocol::CheckBadSize
    };

    int code = OpenFailed;
    long long size = -1;     // bytes, -1 when the file could not be opened
    int storedChecksum = -1; // last byte when a checksum is present, else -1
    int computedChecksum = -1; // sum of the bytes before it, -1 when there is none
};
