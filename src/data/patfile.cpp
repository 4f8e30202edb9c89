#include "patfile.h"

#include "cntchecksum.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <vector>

namespace {

// Reads at most limit bytes; false when the file cannot be opened or read.
bool readLimited(const QString &path, long long limit, std::vector<unsigned char> *data, long long *size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *size = file.size();
    if (*size > limit)
        return true;
    data->resize(static_cast<std::size_t>(*size));
    const qint64 got = data->empty() ? 0 : file.read(reinterpret_cast<char *>(data->data()), *size);
    return got == *size && file.bytesAvailable() == 0;
}

} // namespace

PatCheck PatFile::check(const QString &path)
{
    return check(path, nullptr);
}

PatCheck PatFile::check(const QString &path, int *effectiveWidth)
{
    if (effectiveWidth)
        *effectiveWidth = 0;
    PatCheck result;
    std::vector<unsigned char> data;
    long long size = -1;
    if (!readLimited(path, kMaxFileSize, &data, &size))
        return result;
    if (size > kMaxFileSize) {
        result.size = size;
        result.code = PatCheck::TooLarge;
        return result;
    }
    result = checkData(data.data(), size);
    if (effectiveWidth && isAccepted(result.code))
        *effectiveWidth = PatFile::effectiveWidth(data.data(), size);
    return result;
}

PatCheck PatFile::checkData(const unsigned char *data, long long size)
{
    PatCheck result;
    result.size = size;
    if (size < 0 || (size > 0 && !data))
        return result;
    if (size > kMaxFileSize) {
        result.code = PatCheck::TooLarge;
        return result;
    }
    // Shorter than the width and height words: not a pattern file at all.
    if (size < kHeaderBytes) {
        result.code = PatCheck::BadSize;
        return result;
    }
    result.width = data[0] | (data[1] << 8);
    result.lineBytes = result.width / 2;
    result.height = data[2] | (data[3] << 8);
    if (result.lineBytes > kMaxLineBytes) {
        result.code = PatCheck::TooWide;
        return result;
    }
    if (result.lineBytes == 0) {
        result.code = PatCheck::ZeroWidth;
        return result;
    }
    if (result.height < kMinHeight) {
        result.code = PatCheck::TooLow;
        return result;
    }
    result.expected = static_cast<long long>(result.lineBytes) * (result.height + 1);
    if (result.expected > size) {
        result.code = PatCheck::TooShort;
    } else if (size == result.expected + 1) {
        result.storedChecksum = data[size - 1];
        result.computedChecksum = cntChecksum(data, result.expected);
        result.code = result.storedChecksum == result.computedChecksum ? PatCheck::Ok : PatCheck::BadChecksum;
    } else if (size == result.expected) {
        result.code = PatCheck::NoChecksum;
    } else {
        result.code = PatCheck::BadSize;
    }
    return result;
}

int PatFile::effectiveWidth(const unsigned char *data, long long size)
{
    if (!data || size < kHeaderBytes)
        return 0;
    const int width = data[0] | (data[1] << 8);
    const long long w = width / 2;
    const int height = data[2] | (data[3] << 8);
    if (w == 0)
        return width;
    // Lines 0 .. height - 4; a line missing from a damaged file ends the scan.
    for (long long j = 0; j + 3 < height; ++j) {
        const long long last = w * (j + 2) - 1;
        if (last >= size)
            break;
        if ((data[last] & 0x0f) != 0)
            return width;
    }
    return width - 1;
}

bool PatFile::isAccepted(int code)
{
    return code == PatCheck::Ok || code == PatCheck::NoChecksum || code == PatCheck::BadChecksum;
}

QString PatFile::message(int code)
{
    switch (code) {
    case PatCheck::OpenFailed: return QCoreApplication::translate("PatFile", "pat文件读取失败 !");
    case PatCheck::TooLarge: return QCoreApplication::translate("PatFile", "pat文件大于2M !");
    case PatCheck::BadSize: return QCoreApplication::translate("PatFile", "pat文件格式错误 !");
    case PatCheck::TooWide: return QCoreApplication::translate("PatFile", "pat花板宽度大于1024 !");
    case PatCheck::ZeroWidth: return QCoreApplication::translate("PatFile", "pat花板宽度为0 !");
    case PatCheck::TooLow: return QCoreApplication::translate("PatFile", "pat花板高度小于3 !");
    case PatCheck::TooShort: return QCoreApplication::translate("PatFile", "pat花板高度于文件不对应 !");
    default: return QString();
    }
}

QString PatFile::importMessage(int code)
{
    switch (code) {
    case PatCheck::NoChecksum: return QCoreApplication::translate("PatFile", "pat文件没有校验码 !");
    case PatCheck::BadChecksum: return QCoreApplication::translate("PatFile", "pat文件校验码错误 !");
    default: return message(code);
    }
}

int checkPatFile(const QString &path)
{
    return PatFile::check(path).code;
}

int patFileWidth(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    // The panel's buffer holds 2 MiB; lines beyond it are not looked at. The buffer is the
    // file's own size: one of the whole 2 MiB was the start-up's largest allocation.
    std::vector<unsigned char> data(static_cast<std::size_t>(std::min(file.size(), PatFile::kMaxFileSize)));
    const qint64 got = data.empty() ? 0 : file.read(reinterpret_cast<char *>(data.data()), static_cast<qint64>(data.size()));
    return PatFile::effectiveWidth(data.data(), std::max<qint64>(got, 0));
}
