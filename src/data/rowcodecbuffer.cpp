#include "rowcodecbuffer.h"

#include <cstring>

std::size_t RowCodecBuffer::put(char *out, std::size_t size, const char *text, std::size_t len)
{
    if (!out || size == 0)
        return 0;
    std::size_t n = len < size - 1 ? len : size - 1;
    if (n < len) {
        // Back up to the start of a UTF-8 sequence so no half character is left.
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xc0) == 0x80)
            --n;
    }
    if (n > 0)
        std::memcpy(out, text, n);
    out[n] = '\0';
    return n;
}

std::size_t RowCodecBuffer::putDecimal(char *out, std::size_t size, unsigned long value)
{
    char digits[24];
    std::size_t n = 0;
    do {
        digits[sizeof digits - 1 - n] = static_cast<char>('0' + value % 10);
        value /= 10;
        ++n;
    } while (value != 0 && n < sizeof digits);
    return put(out, size, digits + sizeof digits - n, n);
}

QByteArray RowCodecBuffer::ascii(const QString &text)
{
    QByteArray out(text.size(), '\x7f');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (u < 0x80)
            out[i] = static_cast<char>(u);
    }
    return out;
}
