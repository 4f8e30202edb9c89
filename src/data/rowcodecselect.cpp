#include "rowcodecselect.h"

#include "rowcodecbuffer.h"

namespace {

std::size_t maskText(char *out, std::size_t size, unsigned short mask, const char *table)
{
    char text[16];
    std::size_t n = 0;
    for (int i = 0; i < 16; ++i) {
        if (mask & (1u << i))
            text[n++] = table[i];
    }
    return RowCodecBuffer::put(out, size, text, n);
}

QString maskString(unsigned short mask, const char *table)
{
    char text[17];
    const std::size_t n = maskText(text, sizeof text, mask, table);
    return QString::fromLatin1(text, static_cast<qsizetype>(n));
}

const char kIndexTable[] = "0123456789ABCDEF";
const char kCarrierTable[] = "123456789ABCDEF0";

unsigned char remapped(unsigned char mask, const CarrierRemap &remap)
{
    unsigned char out = 0;
    for (int i = 0; i < 8; ++i) {
        if (!(mask & (1u << i)))
            continue;
        const unsigned k = remap.map[static_cast<std::size_t>(i)] & 0xff;
        if (k >= 1 && k <= 8)
            out = static_cast<unsigned char>(out | (1u << (k - 1)));
    }
    return out;
}

} // namespace

std::size_t selectorText(char *out, std::size_t size, unsigned short mask)
{
    return maskText(out, size, mask, kIndexTable);
}

QString selectorText(unsigned short mask)
{
    return maskString(mask, kIndexTable);
}

unsigned short parseSelectorText(const char *text, std::size_t size, bool *ok)
{
    unsigned short mask = 0;
    bool valid = true;
    const std::size_t limit = size < 16 ? size : 16;
    for (std::size_t i = 0; text && i < limit; ++i) {
        const char c = text[i];
        if (c == '\0')
            break;
        if (c >= '0' && c <= '9') {
            mask = static_cast<unsigned short>(mask | (1u << (c - '0')));
        } else if (c >= 'A' && c <= 'F') {
            mask = static_cast<unsigned short>(mask | (1u << (c - 'A' + 10)));
        } else {
            valid = false;
            break;
        }
    }
    if (ok)
        *ok = valid;
    return mask;
}

unsigned short parseSelectorText(const QString &text, bool *ok)
{
    const QByteArray bytes = RowCodecBuffer::ascii(text);
    return parseSelectorText(bytes.constData(), static_cast<std::size_t>(bytes.size()), ok);
}

std::size_t carrierNumbersText(char *out, std::size_t size, unsigned short mask)
{
    return maskText(out, size, mask, kCarrierTable);
}

QString carrierNumbersText(unsigned short mask)
{
    return maskString(mask, kCarrierTable);
}

std::size_t multiCarrierText(char *out, std::size_t size, unsigned char flag, unsigned char mask,
                                      const CarrierRemap &remap)
{
    if (!(flag & 0x80) || (flag & 0x01))
        return RowCodecBuffer::put(out, size, "0", 1);
    if (remap.mode <= 1 && remap.enable != 0)
        mask = remapped(mask, remap);
    return carrierNumbersText(out, size, mask);
}

QString multiCarrierText(unsigned char flag, unsigned char mask, const CarrierRemap &remap)
{
    char text[17];
    const std::size_t n = multiCarrierText(text, sizeof text, flag, mask, remap);
    return QString::fromLatin1(text, static_cast<qsizetype>(n));
}
