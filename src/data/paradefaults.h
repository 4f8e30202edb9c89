#pragma once

#include "blocksizes.h"

// Factory defaults of the system, work and carrier-speed blocks, built at every start.
class ParaDefaults
{
public:
    // camType: the controller configuration's field 3, 0 standard, 1 and 2 the two special cam boards.
    static void buildSystem(ParamBlock<kSystemSize> &block, int camType);
    static void buildWork(ParamBlock<kWorkSize> &block);
    static void buildMouthSpeed(ParamBlock<kMouthSpeedSize> &block);
};
