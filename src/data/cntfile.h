#pragma once

#include "protocol.h"

#include <QString>

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

// The .cnt program file check and the texts the callers show for each result code.
class CntFile
{
public:
    static CntCheck check(const QString &path);
    // The same check on bytes already in memory (size at most the limit is not assumed).
    static CntCheck checkData(const unsigned char *data, long long size);
    // Start-up, job selection and the file manager accept these codes.
    static bool isAccepted(int code);
    // The message of start-up and job selection; empty for the codes they accept.
    static QString message(int code);
    // The import dialog's message for codes 2 and 3; empty otherwise.
    static QString importMessage(int code);
};

// The check with its described signature: result code 0..5.
int checkCntFile(const QString &path);
