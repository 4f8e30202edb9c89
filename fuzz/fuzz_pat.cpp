// Fuzzes the .pat check and the effective width on arbitrary file contents.
#include "data/cntchecksum.h"
#include "data/patfile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const PatCheck c = PatFile::checkData(data, static_cast<long long>(size));
    if (c.code < 0 || c.code > 9)
        std::abort();
    const int width = PatFile::effectiveWidth(data, static_cast<long long>(size));
    if (width < 0 || width > 65535)
        std::abort();
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    std::vector<std::string> seeds;
    for (int width : {8, 17, 40}) {
        const int height = 5;
        std::string s(static_cast<std::size_t>(width / 2) * (height + 1), '\0');
        s[0] = static_cast<char>(width);
        s[2] = static_cast<char>(height);
        s[static_cast<std::size_t>(width / 2) * 2 - 1] = '\x01';
        s.push_back(static_cast<char>(getchecksum(reinterpret_cast<const unsigned char *>(s.data()),
                                                  static_cast<long long>(s.size()))));
        seeds.push_back(s);
    }
    return seeds;
}
