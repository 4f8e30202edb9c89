#include "cntchecksum.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

int cntChecksum(const unsigned char *data, long long length)
{
    if (!data || length <= 0)
        return 0;
    // Every job file is summed at start-up and on each opening, a megabyte at a time: eight
    // bytes a step, as four 16-bit lane sums. A lane gains at most 2 x 255 a step, so 128 steps
    // fit before the lanes are folded into the sum.
    constexpr std::uint64_t kEvenBytes = 0x00ff00ff00ff00ffULL;
    unsigned sum = 0;
    long long i = 0;
    while (length - i >= 8) {
        const long long end = i + std::min<long long>((length - i) / 8, 128) * 8;
        std::uint64_t lanes = 0;
        for (; i < end; i += 8) {
            std::uint64_t x;
            std::memcpy(&x, data + i, sizeof x);
            lanes += (x & kEvenBytes) + ((x >> 8) & kEvenBytes);
        }
        sum += unsigned((lanes & 0xffff) + ((lanes >> 16) & 0xffff) + ((lanes >> 32) & 0xffff) + (lanes >> 48));
    }
    for (; i < length; ++i)
        sum += data[i];
    return static_cast<int>(sum & 0xff);
}
