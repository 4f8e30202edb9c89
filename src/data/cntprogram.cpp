#include "cntprogram.h"

#include "machinedata.h"

#include <QFile>

#include <cstring>

int CntProgram::rowCount(const unsigned char *data, long long size)
{
    if (!data || size < 0)
        return 1;
    const long long records = size / static_cast<long long>(kCntRecordSize);
    const long long last = records - 1;
    long long r = 1;
    // r stays within 1 .. records - 1, so its record is inside data.
    while (r < last && data[static_cast<std::size_t>(r) * kCntRecordSize + offsetof(CntRow, end_flag)] != 1)
        ++r;
    return static_cast<int>(r);
}

namespace {

// The one reader of a .cnt, for both ways of loading it: the file's bytes when it opens, is no
// larger than the image and reads whole; otherwise no bytes and ok false. Read as the file's
// bytes, not into an image of its own: a second megabyte cleared and copied at every job
// opened, start-up's included, and resident while it lasted.
CntLoad readProgram(const QString &path, QByteArray *bytes)
{
    CntLoad result;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.size() <= static_cast<qint64>(CntProgram::Image::size)) {
        *bytes = file.read(file.size());
        result.ok = file.error() == QFileDevice::NoError;
    }
    if (!result.ok)
        bytes->clear();
    result.size = bytes->size();
    result.records = static_cast<int>(bytes->size() / static_cast<qsizetype>(kCntRecordSize));
    if (result.ok)
        result.rows = CntProgram::rowCount(reinterpret_cast<const unsigned char *>(bytes->constData()), bytes->size());
    return result;
}

} // namespace

CntLoad CntProgram::loadInto(const QString &path, Image &image)
{
    QByteArray bytes;
    const CntLoad result = readProgram(path, &bytes);
    image.clear();
    image.fill(bytes);
    return result;
}

CntLoad CntProgram::load(MachineData &data, const QString &path)
{
    QByteArray bytes;
    const CntLoad result = readProgram(path, &bytes);
    data.setProgram(bytes, result.records);
    return result;
}

bool CntProgram::row(const Image &image, int records, int r, CntRow *out)
{
    if (!out)
        return false;
    const long long maxRecords = static_cast<long long>(Image::size / kCntRecordSize);
    if (r < 1 || r >= records || r >= maxRecords) {
        std::memset(out, 0, sizeof *out);
        return false;
    }
    std::memcpy(out, image.data() + static_cast<std::size_t>(r) * kCntRecordSize, sizeof *out);
    return true;
}

bool CntProgram::row(const MachineData &data, int r, CntRow *out)
{
    return row(data.program(), data.programRecords(), r, out);
}
