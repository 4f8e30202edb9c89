// Fuzzes the pattern pixel reader: loading, reading and writing every pixel and the bytes a
// save would write, on arbitrary file contents.
#include "data/cntchecksum.h"
#include "data/patpixels.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    PatPixels p;
    const QByteArray file(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (!p.loadData(file))
        return 0;
    // Cap the work per input: the pixel walk is quadratic in a big pattern's sides.
    const int w = p.width() + 2 < 64 ? p.width() + 2 : 64;
    const int h = p.height() + 2 < 64 ? p.height() + 2 : 64;
    for (int y = -1; y < h; ++y) {
        for (int x = -1; x < w; ++x) {
            const int v = p.pixel(x, y);
            if (v < 0 || v > 15)
                std::abort();
            p.setPixel(x, y, 15 - v);
        }
    }
    const QByteArray out = p.fileData(p.headerLine());
    if (out.size() != qsizetype(p.lineBytes()) * (p.height() + 1) + 1)
        std::abort();
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    std::vector<std::string> seeds;
    for (int width : {8, 9, 20}) {
        const int height = 4;
        std::string s(static_cast<std::size_t>(width / 2) * (height + 1), '\x5a');
        s[0] = static_cast<char>(width);
        s[1] = 0;
        s[2] = static_cast<char>(height);
        s[3] = 0;
        s.push_back(static_cast<char>(getchecksum(reinterpret_cast<const unsigned char *>(s.data()),
                                                  static_cast<long long>(s.size()))));
        seeds.push_back(s);
    }
    return seeds;
}
