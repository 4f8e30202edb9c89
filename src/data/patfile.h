#pragma once

#include "patcheck.h"

#include <QString>

// The .pat pattern file check, the effective width and the texts the callers show.
class PatFile
{
public:
    static constexpr long long kMaxFileSize = 2 * 1024 * 1024;
    static constexpr int kMaxLineBytes = 512;
    static constexpr int kMinHeight = 3;
    static constexpr int kHeaderBytes = 4;

    static PatCheck check(const QString &path);
    // check() that also measures an accepted file's effective width from the same read
    // (0 for a file it refuses): a job's opening reads its pattern once.
    static PatCheck check(const QString &path, int *effectiveWidth);
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
