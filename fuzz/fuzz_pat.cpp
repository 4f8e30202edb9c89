// Fuzzes the .pat check and the effective width on arbitrary file contents.
#include "data/patfile.h"
#include "seeds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const PatCheck c = PatFile::checkData(data, static_cast<long long>(size));
    const int width = PatFile::effectiveWidth(data, static_cast<long long>(size));
    ABORT_IF(c.code < 0 || c.code > 9 || width < 0 || width > 65535);
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    return {patSeed(8, 5, '\0'), patSeed(17, 5, '\x01'), patSeed(40, 5, '\x10')};
}
