#include "rowcodecmouthremap.h"

MouthRemap MouthRemap::fromBlocks(const ParaBlock<kSystemSize> &system, const ParaBlock<kWorkSize> &work)
{
    MouthRemap r;
    r.mode = system.word(22);
    r.enable = system.word(25);
    for (std::size_t i = 0; i < r.map.size(); ++i)
        r.map[i] = work.word(696 + i);
    return r;
}
