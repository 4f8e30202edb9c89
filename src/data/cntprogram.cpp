#include "cntprogram.h"

#include "cntfile.h"
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

// The file's bytes, from the check's one reader; false and none when it could not be read
// whole or is larger than the image.
bool readProgram(const QString &path, QByteArray *bytes)
{
    const int code = CntFile::check(path, bytes).code;
    return code != CntCheck::OpenFailed && code != CntCheck::TooLarge;
}

// What the bytes hold as a program. Bytes larger than the image are none of it.
CntLoad programOf(const QByteArray &bytes)
{
    CntLoad result;
    result.ok = bytes.size() <= static_cast<qsizetype>(CntProgram::Image::size);
    if (!result.ok)
        return result;
    result.size = bytes.size();
    result.records = static_cast<int>(bytes.size() / static_cast<qsizetype>(kCntRecordSize));
    result.rows = CntProgram::rowCount(reinterpret_cast<const unsigned char *>(bytes.constData()), bytes.size());
    return result;
}

} // namespace

CntLoad CntProgram::loadInto(const QString &path, Image &image)
{
    QByteArray bytes;
    const bool read = readProgram(path, &bytes);
    CntLoad result = loadInto(bytes, image);
    result.ok = result.ok && read;
    return result;
}

CntLoad CntProgram::loadInto(const QByteArray &bytes, Image &image)
{
    const CntLoad result = programOf(bytes);
    image.clear();
    if (result.ok)
        image.fill(bytes);
    return result;
}

namespace {

// Reads the file into data's program when the size's verdict passes loads(); check gets the
// verdict on the bytes as read. Without a read the program stays as it was.
template<typename Loads>
CntLoad readChecked(MachineData &data, const QString &path, CntCheck *check, Loads loads)
{
    CntLoad result;
    *check = CntCheck();
    QFile file(path);
    // Unbuffered: the bytes go to the image through no buffer of the file's own.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return result;
    *check = CntFile::checkSize(file.size());
    if (!loads(check->code))
        return result;
    const int records = static_cast<int>(check->size / static_cast<long long>(kCntRecordSize));
    if (!data.readProgram(file, check->size, records)) {
        // The file changed under us or could not be read: what was read is not the file.
        check->code = CntCheck::OpenFailed;
        return result;
    }
    const unsigned char *image = data.program().data();
    *check = CntFile::checkData(image, check->size);
    result.ok = true;
    result.size = check->size;
    result.records = records;
    result.rows = CntProgram::rowCount(image, check->size);
    return result;
}

} // namespace

CntLoad CntProgram::load(MachineData &data, const QString &path)
{
    CntCheck check;
    const CntLoad result = readChecked(data, path, &check, [](int code) { return code != CntCheck::TooLarge; });
    if (!result.ok)
        data.setProgram(QByteArray(), 0);
    return result;
}

CntLoad CntProgram::loadAccepted(MachineData &data, const QString &path, CntCheck *check)
{
    return readChecked(data, path, check, &CntFile::isAccepted);
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
