#pragma once

#include "blocksizes.h"
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
    // loadInto() into data's program, with the records the file held for row() below.
    static CntLoad load(MachineData &data, const QString &path);
    // The same from a file's bytes already read, as CntFile::check() hands them on: a job
    // loads what its check passed, not a second read of a file that may have changed since.
    static CntLoad loadInto(const QByteArray &bytes, Image &image);
    static CntLoad load(MachineData &data, const QByteArray &bytes);

    // Copies program row r (1-based) of image into out when the file had that record;
    // otherwise out is all zero and the result false.
    static bool row(const Image &image, int records, int r, CntRow *out);
    // row() of data's program as the last load() left it.
    static bool row(const MachineData &data, int r, CntRow *out);
};
