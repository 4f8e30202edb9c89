// Fuzzes the pattern pixel reader: loading, reading and writing every pixel and the bytes a
// save would write, on arbitrary file contents.
#include "data/patpixels.h"
#include "seeds.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    PatPixels p;
    if (!p.loadData(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size))))
        return 0;
    // Cap the work per input: the pixel walk is quadratic in a big pattern's sides.
    const int w = qMin(p.width() + 2, 64);
    const int h = qMin(p.height() + 2, 64);
    for (int y = -1; y < h; ++y) {
        for (int x = -1; x < w; ++x) {
            const int v = p.pixel(x, y);
            ABORT_IF(v < 0 || v > 15);
            p.setPixel(x, y, 15 - v);
        }
    }
    ABORT_IF(p.fileData(p.headerLine()).size() != qsizetype(p.lineBytes()) * (p.height() + 1) + 1);
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    return {patSeed(8, 4, '\x5a'), patSeed(9, 4, '\x5a'), patSeed(20, 4, '\x5a')};
}
