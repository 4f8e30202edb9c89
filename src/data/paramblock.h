#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstring>

// A fixed-size block of bytes read as little-endian 16-bit words by index, the shape of
// every parameter block and its file image. Out-of-range reads give 0; writes are dropped.
template <std::size_t N>
class ParamBlock
{
public:
    static constexpr std::size_t size = N;

    unsigned char *data() { return bytes_; }
    const unsigned char *data() const { return bytes_; }

    unsigned char byte(std::size_t i) const { return i < N ? bytes_[i] : 0; }
    void setByte(std::size_t i, unsigned char v) { if (i < N) bytes_[i] = v; }

    unsigned short word(std::size_t n) const
    {
        return n < N / 2 ? static_cast<unsigned short>(bytes_[2 * n] | (bytes_[2 * n + 1] << 8)) : 0;
    }
    void setWord(std::size_t n, unsigned short v)
    {
        if (n < N / 2) {
            bytes_[2 * n] = static_cast<unsigned char>(v & 0xff);
            bytes_[2 * n + 1] = static_cast<unsigned char>(v >> 8);
        }
    }

    void clear() { std::memset(bytes_, 0, N); }
    bool operator==(const ParamBlock &other) const { return std::memcmp(bytes_, other.bytes_, N) == 0; }
    bool operator!=(const ParamBlock &other) const { return !(*this == other); }
    QByteArray toByteArray() const { return QByteArray(reinterpret_cast<const char *>(bytes_), int(N)); }
    // Copies at most N bytes of data over the start of the block; returns how many.
    std::size_t fill(const QByteArray &data)
    {
        const std::size_t n = std::size_t(data.size()) < N ? std::size_t(data.size()) : N;
        std::memcpy(bytes_, data.constData(), n);
        return n;
    }

private:
    unsigned char bytes_[N] = {};
};
