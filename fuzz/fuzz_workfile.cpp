// A .wrk file from the disk or a stick as the browser prints it, and the work groups' index
// mapping fed with the same bytes as datagram fields. Whatever the bytes (short, long or
// empty), every view has its fixed number of lines, and an index either maps to a word of the
// block that maps back to it or is refused.
#include "data/workfile.h"
#include "data/worklayout.h"
#include "seeds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const int lines[WorkFile::ViewCount] = {25, 25, 25, 18, 11};
    for (int v = 0; v < WorkFile::ViewCount; ++v)
        ABORT_IF(WorkFile::view(WorkFile::View(v), bytes).size() != lines[v]);
    for (size_t i = 0; i + 2 < size; i += 3) {
        const int group = data[i];
        const int address = data[i + 1] | (data[i + 2] << 8);
        const int word = WorkLayout::word(group, address);
        ABORT_IF(word >= WorkLayout::kWords || (word >= 0 && WorkLayout::address(group, word) != address));
    }
    return 0;
}

// A whole work file, and datagram fields of each work group at the ends of their ranges.
std::vector<std::string> knit_fuzz_seeds()
{
    return {std::string(1556, '\x01'), std::string("\x02\xef\x00\x03\x1d\x00\x0f\x4f\x00\x05\x80\x00", 12)};
}
