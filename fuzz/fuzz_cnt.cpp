// Fuzzes the .cnt check and the loader's row count on arbitrary file contents.
#include "data/cntchecksum.h"
#include "data/cntfile.h"
#include "data/cntprogram.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const CntCheck c = CntFile::checkData(data, static_cast<long long>(size));
    if (c.code < 0 || c.code > 5)
        std::abort();
    const int rows = CntProgram::rowCount(data, static_cast<long long>(size));
    const long long records = static_cast<long long>(size / 128);
    if (rows < 1 || (records > 1 && rows > records - 1))
        std::abort();
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    std::vector<std::string> seeds;
    for (int records : {1, 2, 5}) {
        std::string s(static_cast<std::size_t>(records) * 128, '\0');
        if (records > 2)
            s[2 * 128 + 116] = 1;
        s.push_back(static_cast<char>(getchecksum(reinterpret_cast<const unsigned char *>(s.data()),
                                                  static_cast<long long>(s.size()))));
        seeds.push_back(s);
    }
    return seeds;
}
