// Fuzzes the .cnt check and the loader's row count on arbitrary file contents.
#include "data/cntfile.h"
#include "data/cntprogram.h"
#include "seeds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const CntCheck c = CntFile::checkData(data, static_cast<long long>(size));
    const int rows = CntProgram::rowCount(data, static_cast<long long>(size));
    const long long records = static_cast<long long>(size / 128);
    ABORT_IF(c.code < 0 || c.code > 5 || rows < 1 || (records > 1 && rows > records - 1));
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    std::string five(5 * 128, '\0');
    five[2 * 128 + 116] = 1; // the end flag of row 2
    return {withSum(std::string(128, '\0')), withSum(std::string(256, '\0')), withSum(five)};
}
