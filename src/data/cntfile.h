#pragma once

#include "cntcheck.h"

#include <QByteArray>
#include <QString>

// The .cnt program file check and the texts the callers show for each result code.
class CntFile
{
public:
    static CntCheck check(const QString &path);
    // check() that also hands on the bytes it checked, so a caller that goes on to load the
    // program loads exactly what passed, from one read. bytes holds the file whole, or stays
    // empty when it could not be read whole or is too large.
    static CntCheck check(const QString &path, QByteArray *bytes);
    // The same check on bytes already in memory (size at most the limit is not assumed).
    static CntCheck checkData(const unsigned char *data, long long size);
    // What the size alone decides. Ok here means a checksum byte is present: only
    // checkData() on the bytes tells whether it is right.
    static CntCheck checkSize(long long size);
    // Start-up, job selection and the file manager accept these codes.
    static bool isAccepted(int code);
    // The message of start-up and job selection; empty for the codes they accept.
    static QString message(int code);
    // The import dialog's message for codes 2 and 3; empty otherwise.
    static QString importMessage(int code);
};

// The check with its described signature: result code 0..5.
int checkCntFile(const QString &path);
