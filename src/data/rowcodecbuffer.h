#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>

// Bounded writes of the codecs' NUL-terminated texts into caller buffers.
class RowCodecBuffer
{
public:
    // Copies up to size - 1 bytes of text (length len) and a NUL; a UTF-8 sequence that would
    // not fit whole is dropped. Returns the bytes written before the NUL. Nothing when size 0.
    static std::size_t put(char *out, std::size_t size, const char *text, std::size_t len);
    // Decimal of value without leading zeros.
    static std::size_t putDecimal(char *out, std::size_t size, unsigned long value);
    // One byte per character of text: ASCII as is, anything else 0x7f, so positions stay
    // those the operator sees and no other character passes for a valid one.
    static QByteArray ascii(const QString &text);
};
