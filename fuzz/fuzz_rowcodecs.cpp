// Fuzzes the row decoder on damaged rows and the two text decoders on arbitrary texts: the
// first 128 bytes are a row, the rest a text handed to the decoders with its exact size.
#include "data/rowcodecbed.h"
#include "data/rowcodecrow.h"
#include "data/rowcodecselect.h"
#include "seeds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CntRow row;
    std::memset(&row, 0, sizeof row);
    std::memcpy(&row, data, size < sizeof row ? size : sizeof row);
    CarrierRemap remap;
    remap.mode = row.reserved40[0] & 3;
    remap.enable = row.reserved40[1] & 1;
    for (std::size_t i = 0; i < remap.map.size(); ++i)
        remap.map[i] = static_cast<unsigned short>(row.reserved40[2 + i] | (row.reserved40[10 + i] << 8));
    CntRowTexts texts;
    RowCodecRow::decode(row, remap, &texts);
    ABORT_IF(std::strlen(texts.bed) != 3 || std::strlen(texts.mouth[0]) > 8);

    if (size > sizeof row) {
        const char *text = reinterpret_cast<const char *>(data) + sizeof row;
        const std::size_t len = size - sizeof row;
        bool ok = false;
        const unsigned short mask = parseSelectorText(text, len, &ok);
        char again[17];
        const std::size_t n = selectorText(again, sizeof again, mask);
        bool ok2 = false;
        const unsigned short back = parseSelectorText(again, n, &ok2);
        parseBedText(text, len, &ok);
        ABORT_IF(back != mask || !ok2 || !ok);
    }
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    std::string row(128, '\0');
    row[80] = static_cast<char>(0x80);
    row[81] = 0x0f;
    row[100] = static_cast<char>(0xC1);
    row[101] = 3;
    return {row, row + "0F", row + "L3*", row + "0123456789ABCDEF"};
}
