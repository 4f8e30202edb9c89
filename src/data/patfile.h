#pragma once

#include "protocol.h"

#include <QString>

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

// The .pat pattern file check, the effective width and the texts the callers show.
class PatFile
{
public:
    static constexpr long long kMaxFileSize = 2 * 1024 * 1024;
    static constexpr int kMaxLineBytes = 512;
    static constexpr int kMinHeight = 3;
    static constexpr int kHeaderBytes = 4;

    static PatCheck check(const QString &path);
    static PatCheck checkData(const unsigned char *data, long long size);
    // Effective width of a pattern held in memory; never reads past size.
    static int effectiveWidth(const unsigned char *data, long long size);
    static bool isAccepted(int code);
    static QString message(int code);
    static QString importMessage(int code);
};

// The check with its described signature: result code 0..9.
int checkPatFile(const QString &path);
// Effective width in pixels; 0 when the file cannot be opened.
int patFileWidth(const QString &path);
