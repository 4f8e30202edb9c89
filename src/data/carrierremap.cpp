#include "carrierremap.h"

#include "protocol.h"

CarrierRemap CarrierRemap::fromBlocks(const ParamBlock<kSystemSize> &system, const ParamBlock<kWorkSize> &work)
{
    CarrierRemap r;
    r.mode = system.word(Protocol::PieceCountWord);
    r.enable = system.word(Protocol::CarrierReplacementWord);
    for (std::size_t i = 0; i < r.map.size(); ++i)
        r.map[i] = work.word(696 + i);
    return r;
}
