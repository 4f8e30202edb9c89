#include "jobfiles.h"

#include "data/cntfile.h"
#include "data/cntprogram.h"
#include "data/patfile.h"
#include "data/patpixels.h"
#include "data/stitchcolours.h"
#include "data/workfile.h"
#include "logic/files/stickjobname.h"

#include <QtEndian>

#include <array>

namespace {

const unsigned char *bytesOf(const QByteArray &a)
{
    return reinterpret_cast<const unsigned char *>(a.constData());
}

quint32 crc32(const QByteArray &bytes)
{
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xedb88320U ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xffffffffU;
    for (const char b : bytes)
        c = table[(c ^ quint8(b)) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffU;
}

QByteArray bigEndian(quint32 v)
{
    QByteArray out(4, '\0');
    qToBigEndian(v, out.data());
    return out;
}

QByteArray chunk(const char *type, const QByteArray &data)
{
    const QByteArray typed = QByteArray(type) + data;
    return bigEndian(quint32(data.size())) + typed + bigEndian(crc32(typed));
}

} // namespace

QString JobFiles::name(const QByteArray &bytes)
{
    if (bytes.contains('.'))
        return QString();
    return StickJobName::of(bytes);
}

bool JobFiles::check(const QByteArray &cnt, const QByteArray &pat, const QByteArray &wrk, Facts *facts, Refusal *refusal)
{
    const CntCheck program = CntFile::checkData(bytesOf(cnt), cnt.size());
    if (program.code != CntCheck::Ok) {
        *refusal = {program.code, CntFile::importMessage(program.code)};
        return false;
    }
    const PatCheck pattern = PatFile::checkData(bytesOf(pat), pat.size());
    if (pattern.code != PatCheck::Ok) {
        *refusal = {pattern.code, PatFile::importMessage(pattern.code)};
        return false;
    }
    if (wrk.size() != WorkFile::kSize) {
        *refusal = {-1, QStringLiteral("the .wrk must be %1 bytes, not %2").arg(WorkFile::kSize).arg(wrk.size())};
        return false;
    }
    facts->rows = CntProgram::rowCount(bytesOf(cnt), cnt.size());
    facts->width = pattern.width;
    facts->height = pattern.height;
    facts->size = cnt.size() + pat.size() + wrk.size();
    return true;
}

QByteArray JobFiles::previewPng(const QByteArray &pat)
{
    PatPixels pixels;
    if (!pixels.loadData(pat) || pixels.lineBytes() <= 0 || pixels.height() <= 0)
        return QByteArray();
    // A 4-bit palette image: a pattern line's bytes are already its stitches, two a byte, the
    // first in the high half, as PNG packs them.
    const int w = pixels.lineBytes();
    const int h = pixels.height();
    QByteArray raw;
    raw.reserve(qsizetype(w + 1) * h);
    for (int y = h - 1; y >= 0; --y) {
        raw += '\0'; // no filter
        for (int x = 0; x < w; ++x)
            raw += char((pixels.pixel(2 * x, y) << 4) | pixels.pixel(2 * x + 1, y));
    }
    QByteArray header = bigEndian(quint32(2 * w)) + bigEndian(quint32(h));
    header += QByteArray("\x04\x03\x00\x00\x00", 5); // depth 4, indexed, deflate, no filter, no interlace
    QByteArray palette;
    for (const quint32 c : StitchColours::kRgb) {
        palette.append(char(c >> 16));
        palette.append(char(c >> 8));
        palette.append(char(c));
    }
    // qCompress is a zlib stream behind its length: PNG's IDAT takes the stream.
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("PLTE", palette)
         + chunk("IDAT", qCompress(raw).mid(4)) + chunk("IEND", QByteArray());
}
