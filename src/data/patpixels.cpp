#include "patpixels.h"

#include "cntchecksum.h"
#include "patfile.h"
#include "platform/atomicfile.h"

#include <QFile>

bool PatPixels::load(const QString &path)
{
    *this = PatPixels();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > PatFile::kMaxFileSize)
        return false;
    return loadData(file.readAll());
}

bool PatPixels::loadData(const QByteArray &file)
{
    *this = PatPixels();
    const auto *bytes = reinterpret_cast<const unsigned char *>(file.constData());
    const PatCheck check = PatFile::checkData(bytes, file.size());
    // With W < 4 the width and height words would be pixels of line 0: saving would rewrite them.
    if (!PatFile::isAccepted(check.code) || check.lineBytes < PatFile::kHeaderBytes)
        return false;
    width_ = check.width;
    lineBytes_ = check.lineBytes;
    height_ = check.height;
    header_ = file.left(lineBytes_);
    pixels_ = file.mid(lineBytes_, static_cast<qsizetype>(lineBytes_) * height_);
    loaded_ = true;
    return true;
}

QByteArray PatPixels::fileData(const QByteArray &headerLine) const
{
    QByteArray out = headerLine;
    out.append(pixels_);
    const auto *bytes = reinterpret_cast<const unsigned char *>(out.constData());
    out.append(static_cast<char>(cntChecksum(bytes, out.size())));
    return out;
}

bool PatPixels::save(const QString &path) const
{
    if (!loaded_)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(lineBytes_);
    file.close();
    // A file that lost its header or changed its size under the editor is not ours to rewrite.
    if (header.size() != lineBytes_ || header.left(PatFile::kHeaderBytes) != header_.left(PatFile::kHeaderBytes))
        return false;
    return AtomicFile::save(path, fileData(header));
}

int PatPixels::pixel(int x, int y) const
{
    if (!inside(x, y))
        return 0;
    const unsigned char b = static_cast<unsigned char>(pixels_[static_cast<qsizetype>(y) * lineBytes_ + x / 2]);
    return x % 2 == 0 ? b >> 4 : b & 0x0f;
}

bool PatPixels::setPixel(int x, int y, int value)
{
    if (!inside(x, y))
        return false;
    const qsizetype at = static_cast<qsizetype>(y) * lineBytes_ + x / 2;
    const unsigned char b = static_cast<unsigned char>(pixels_[at]);
    const unsigned char v = static_cast<unsigned char>(value & 0x0f);
    pixels_[at] = static_cast<char>(x % 2 == 0 ? (b & 0x0f) | (v << 4) : (b & 0xf0) | v);
    return true;
}

bool PatPixels::inside(int x, int y) const
{
    // An odd stored width has no byte for its last column; it lies outside.
    return loaded_ && x >= 0 && y >= 0 && x < 2 * lineBytes_ && y < height_;
}
