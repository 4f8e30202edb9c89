#include "rowcodecbed.h"

#include "rowcodecbuffer.h"

std::size_t bedText(char *out, std::size_t size, unsigned char flag, unsigned char count)
{
    char text[3] = {' ', ' ', ' '};
    if (flag & 0x80) {
        const int distance = count & 0x07;
        text[0] = distance == 0 ? ' ' : (flag & 0x40 ? 'L' : 'R');
        text[1] = static_cast<char>('0' + distance);
        switch (flag & 0x07) {
        case 1: text[2] = '*'; break;
        case 2: text[2] = '+'; break;
        case 4: text[2] = '-'; break;
        default: break;
        }
    }
    return RowCodecBuffer::put(out, size, text, sizeof text);
}

QString bedText(unsigned char flag, unsigned char count)
{
    char text[4];
    const std::size_t n = bedText(text, sizeof text, flag, count);
    return QString::fromLatin1(text, static_cast<qsizetype>(n));
}

unsigned short parseBedText(const char *text, std::size_t size, bool *ok)
{
    if (ok)
        *ok = true;
    char c[3] = {'\0', '\0', '\0'};
    for (std::size_t i = 0; text && i < 3 && i < size && text[i] != '\0'; ++i)
        c[i] = text[i];
    if (c[0] == ' ' && c[1] == ' ' && c[2] == ' ')
        return 0;
    unsigned flag = c[0] == 'L' ? 0xC0 : 0x80;
    const unsigned count = c[1] >= '1' && c[1] <= '7' ? static_cast<unsigned>(c[1] - '0') : 0;
    switch (c[2]) {
    case '*': flag += 1; break;
    case '+': flag += 2; break;
    case '-': flag += 4; break;
    default: break;
    }
    return static_cast<unsigned short>(flag | (count << 8));
}

unsigned short parseBedText(const QString &text, bool *ok)
{
    const QByteArray bytes = RowCodecBuffer::ascii(text);
    return parseBedText(bytes.constData(), static_cast<std::size_t>(bytes.size()), ok);
}

std::size_t rollerText(char *out, std::size_t size, unsigned char value)
{
    if (!(value & 0x80))
        return RowCodecBuffer::put(out, size, "0", 1);
    return RowCodecBuffer::putDecimal(out, size, value & 0x7f);
}

QString rollerText(unsigned char value)
{
    char text[4];
    const std::size_t n = rollerText(text, sizeof text, value);
    return QString::fromLatin1(text, static_cast<qsizetype>(n));
}
