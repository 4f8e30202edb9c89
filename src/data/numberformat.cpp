#include "numberformat.h"

#include "jobname.h"

#include <QByteArray>

#include <cstring>

QString sizeText(quint64 kilobytes)
{
    const double x = double(kilobytes);
    if (kilobytes > 1048576)
        return QString::asprintf("%.1f G", x / 1048576.0);
    if (kilobytes > 1024)
        return QString::asprintf("%.1f M", x / 1024.0);
    return QString::asprintf("%g K", x);
}

QString speedText(double a, double b)
{
    return QString::asprintf("%.2f m/s", b == 0 ? 0.0 : a / b);
}

int decimalText(unsigned short value, char *buffer, std::size_t size)
{
    if (!buffer || size == 0)
        return 0;
    char digits[8];
    int n = 0;
    do {
        digits[n++] = char('0' + value % 10);
        value = static_cast<unsigned short>(value / 10);
    } while (value != 0);
    const int fit = int(qMin<std::size_t>(std::size_t(n), size - 1));
    for (int i = 0; i < fit; ++i)
        buffer[i] = digits[n - 1 - i];
    buffer[fit] = '\0';
    return fit;
}

int readBit(unsigned int value, int bit)
{
    if (bit < 0 || bit > 31)
        return 0;
    return (value >> bit) & 1u;
}

unsigned char writeBit(unsigned char byte, int on, int bit)
{
    if (bit < 0 || bit > 7)
        return byte;
    const unsigned char mask = static_cast<unsigned char>(1u << bit);
    return on ? static_cast<unsigned char>(byte | mask) : static_cast<unsigned char>(byte & ~mask);
}

QString bytesToString(const unsigned char *bytes, std::size_t length)
{
    if (!bytes || length == 0)
        return QString();
    const void *nul = std::memchr(bytes, 0, length);
    const std::size_t n = nul ? std::size_t(static_cast<const unsigned char *>(nul) - bytes) : length;
    return JobName::decode(QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(n)));
}
