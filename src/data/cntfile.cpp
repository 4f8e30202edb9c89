#include "cntfile.h"

#include "cntchecksum.h"
#include "cntrow.h"

#include <QCoreApplication>
#include <QFile>

CntCheck CntFile::check(const QString &path)
{
    QByteArray bytes;
    return check(path, &bytes);
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
    CntCheck result;
    result.size = size;
    if (size < 0 || (size > 0 && !data))
        return result;
    if (size > kCntMaxFileSize) {
        result.code = CntCheck::TooLarge;
        return result;
    }
    const long long rest = size % static_cast<long long>(kCntRecordSize);
    if (rest == 1) {
        result.storedChecksum = data[size - 1];
        result.computedChecksum = cntChecksum(data, size - 1);
        result.code = result.storedChecksum == result.computedChecksum ? CntCheck::Ok : CntCheck::BadChecksum;
    } else {
        result.code = rest == 0 ? CntCheck::NoChecksum : CntCheck::BadSize;
    }
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
