// Feeds arbitrary bytes to the Config.ini decoder: it must not crash, must stay within its
// bound, and must only ever give fields the rest of the panel can use.
#include "data/configini.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const ConfigIni::Fields f = ConfigIni::parse(bytes);
    for (int i = 0; i < 3; ++i) {
        if (f[std::size_t(i)] < 0 || f[std::size_t(i)] > 255)
            std::abort();
    }
    if (f[3] < 0 || f[3] > 2 || f[4] < 0 || f[4] > 1 || f[5] < 0 || f[5] > 1)
        std::abort();
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    const std::string full = "ColorRed=12\nColorGreen=34\nColorBlue=56\nCamBoardType=Config_Triangle_TAVRO\n"
                             "Pech =Config_Pech_Yes\nDensityOption=Config_Density_2324\n";
    std::string crlf;
    for (char c : full)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return {full, crlf, "ColorRed=255\nColorGreen=0\nColorBlue=128\n",
            "ColorRed=1\nColorGreen=2\nColorBlue=3\nCamBoardType=Config_Triangle_1234\n"};
}
