// Feeds arbitrary bytes to the Config.ini decoder: it must not crash, must stay within its
// bound, and must only ever give fields the rest of the panel can use.
#include "data/configini.h"
#include "seeds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const ConfigIni::Fields f = ConfigIni::parse(bytes);
    static const int kMax[6] = {255, 255, 255, 2, 1, 1};
    for (std::size_t i = 0; i < 6; ++i)
        ABORT_IF(f[i] < 0 || f[i] > kMax[i]);
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    return {"ColorRed=12\nColorGreen=34\nColorBlue=56\nCamBoardType=Config_Triangle_TAVRO\n"
            "Pech =Config_Pech_Yes\nDensityOption=Config_Density_2324\n",
            "ColorRed=1\r\nColorGreen=2\r\nColorBlue=3\r\nCamBoardType=Config_Triangle_1234\r\n"};
}
