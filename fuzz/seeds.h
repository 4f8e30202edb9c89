#pragma once
// What the fuzz targets share: the standard headers they use, the broken-invariant abort and
// seed helpers.
#include "data/cntchecksum.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// A crash the fuzzer reports, with the input, when what must never happen did.
#define ABORT_IF(...) do { if (__VA_ARGS__) std::abort(); } while (false)

// s followed by its 8-bit sum, as .cnt and .pat files end.
inline std::string withSum(std::string s)
{
    s.push_back(char(cntChecksum(reinterpret_cast<const unsigned char *>(s.data()), static_cast<long long>(s.size()))));
    return s;
}

// A .pat file of width x height (header line, then height lines of width / 2 bytes) with its sum.
inline std::string patSeed(int width, int height, char fill)
{
    std::string s(std::size_t(width / 2) * std::size_t(height + 1), fill);
    s[0] = char(width);
    s[1] = 0;
    s[2] = char(height);
    s[3] = 0;
    return withSum(s);
}
