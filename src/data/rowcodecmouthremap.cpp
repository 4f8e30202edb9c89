#include "rowcodecmouthremap.h"

#include "protocol.h"

MouthRemap MouthRemap::fromBlocks(const ParaBlock<kSystemSize> &system, const ParaBlock<kWorkSize> &work)
{
    MouthRemap r;
    r.mode = system.word(Protocol::PieceCountWord);
    r.enable = system.word(Protocol::CarrierReplacementWord);
    for (std::size_t i = 0; i < r.map.size(); ++i)
        r.map[i] = work.word(696 + i);
    return r;
}
