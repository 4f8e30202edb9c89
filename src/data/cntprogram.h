#pragma once

#include "blocksizes.h"
#include "cntcheck.h"
#include "cntload.h"
#include "cntrow.h"

#include <QByteArray>
#include <QString>

class MachineData;

// The loaded knitting program: reading a .cnt into an image, its row count, and access to its
// rows that never reaches past the records the file really held.
class CntProgram
{
public:
    using Image = ParamBlock<kCntImageSize>;

    // The loader's rule: the first row whose end_flag is 1, else (size / 128) - 1; never
    // below 1, and no row beyond the file is looked at.
    static int rowCount(const unsigned char *data, long long size);

    // Clears image, then reads the file (at most 1 MiB) into it. A file that cannot be
    // opened or is larger than the image leaves the image cleared and ok false.
    static CntLoad loadInto(const QString &path, Image &image);
    // The same from a file's bytes already read, as CntFile::check() hands them on.
    static CntLoad loadInto(const QByteArray &bytes, Image &image);
    // loadInto() into data's program, with the records the file held for row() below; the
    // file is read once, straight into the program image.
    static CntLoad load(MachineData &data, const QString &path);
    // A job's opening: the file is checked where it is read, in the program image. A file
    // its size refuses (CntFile::isAccepted) is not read and leaves the program as it was; one
    // that changes while it is read leaves it empty. check gets the check's result: one read,
    // and the program is exactly the bytes that passed.
    static CntLoad loadAccepted(MachineData &data, const QString &path, CntCheck *check);

    // Copies program row r (1-based) of image into out when the file had that record;
    // otherwise out is all zero and the result false.
    static bool row(const Image &image, int records, int r, CntRow *out);
    // row() of data's program as the last load() left it.
    static bool row(const MachineData &data, int r, CntRow *out);
};
