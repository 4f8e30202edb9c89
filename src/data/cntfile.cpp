#include "cntfile.h"

#include "cntchecksum.h"
#include "cntrow.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <vector>

namespace {

// A size that holds a checksum byte (Ok from checkSize) takes its verdict from the two sums.
void judgeChecksum(CntCheck *result, int stored, int computed)
{
    if (result->code != CntCheck::Ok)
        return;
    result->storedChecksum = stored;
    result->computedChecksum = computed;
    if (stored != computed)
        result->code = CntCheck::BadChecksum;
}

} // namespace

CntCheck CntFile::check(const QString &path)
{
    QFile file(path);
    // Unbuffered: the pieces are the only copy the file passes through.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return CntCheck();
    const long long size = file.size();
    CntCheck result = checkSize(size);
    if (result.code == CntCheck::TooLarge)
        return result;
    // Summed a piece at a time as it passes: a check that keeps no bytes holds no copy of a
    // 1 MiB file. Every byte but the last counts towards the checksum.
    std::vector<unsigned char> piece(std::size_t(std::min<long long>(size, 16 * 1024)));
    unsigned sum = 0;
    int last = -1;
    long long at = 0;
    while (at < size) {
        const qint64 want = std::min<qint64>(qint64(piece.size()), size - at);
        if (file.read(reinterpret_cast<char *>(piece.data()), want) != want)
            break;
        sum += unsigned(cntChecksum(piece.data(), std::min<long long>(want, size - 1 - at)));
        last = piece[std::size_t(want - 1)];
        at += want;
    }
    if (at != size || file.bytesAvailable() > 0) {
        // The file changed under us or could not be read: its bytes were not all seen.
        result.code = CntCheck::OpenFailed;
        return result;
    }
    judgeChecksum(&result, last, int(sum & 0xff));
    return result;
}

CntCheck CntFile::check(const QString &path, QByteArray *bytes)
{
    bytes->clear();
    CntCheck result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    result.size = file.size();
    // Decided before any content is read: an oversized file never reaches the buffer.
    if (result.size > kCntMaxFileSize) {
        result.code = CntCheck::TooLarge;
        return result;
    }
    *bytes = file.read(result.size);
    if (bytes->size() != result.size || file.bytesAvailable() > 0) {
        // The file changed under us or could not be read: what we hold is not the file.
        bytes->clear();
        result.code = CntCheck::OpenFailed;
        return result;
    }
    return checkData(reinterpret_cast<const unsigned char *>(bytes->constData()), result.size);
}

CntCheck CntFile::checkData(const unsigned char *data, long long size)
{
    if (size < 0 || (size > 0 && !data)) {
        CntCheck result;
        result.size = size;
        return result;
    }
    CntCheck result = checkSize(size);
    if (result.code == CntCheck::Ok)
        judgeChecksum(&result, data[size - 1], cntChecksum(data, size - 1));
    return result;
}

CntCheck CntFile::checkSize(long long size)
{
    CntCheck result;
    result.size = size;
    if (size < 0)
        return result;
    const long long rest = size % static_cast<long long>(kCntRecordSize);
    if (size > kCntMaxFileSize)
        result.code = CntCheck::TooLarge;
    else if (rest == 1)
        result.code = CntCheck::Ok;
    else
        result.code = rest == 0 ? CntCheck::NoChecksum : CntCheck::BadSize;
    return result;
}

bool CntFile::isAccepted(int code)
{
    return code == CntCheck::Ok || code == CntCheck::NoChecksum || code == CntCheck::BadChecksum;
}

QString CntFile::message(int code)
{
    switch (code) {
    case CntCheck::OpenFailed: return QCoreApplication::translate("CntFile", "cnt文件读取失败 !");
    case CntCheck::TooLarge: return QCoreApplication::translate("CntFile", "cnt文件大于1M !");
    case CntCheck::BadSize: return QCoreApplication::translate("CntFile", "cnt文件格式错误 !");
    default: return QString();
    }
}

QString CntFile::importMessage(int code)
{
    switch (code) {
    case CntCheck::NoChecksum: return QCoreApplication::translate("CntFile", "cnt文件没有校验码 !");
    case CntCheck::BadChecksum: return QCoreApplication::translate("CntFile", "cnt文件校验码错误 !");
    default: return message(code);
    }
}

int checkCntFile(const QString &path)
{
    return CntFile::check(path).code;
}
