#pragma once

#include "parablocks.h"

// Factory defaults of the system, work and carrier-speed blocks, built at every start.
class ParaDefaults
{
public:
    // camType: the controller configuration's field 3, 0 standard, 1 and 2 the two special cam boards.
    static void buildSystem(ParaBlock<kSystemSize> &block, int camType);
    static void buildWork(ParaBlock<kWorkSize> &block);
    static void buildMouthSpeed(ParaBlock<kMouthSpeedSize> &block);
};
