#pragma once

#include "blocksizes.h"

// Factory defaults of the system, work and carrier-speed blocks, built at every start.
class FactoryDefaults
{
public:
    // camType: as SystemSettings::factoryValue takes it.
    static void buildSystem(ParamBlock<kSystemSize> &block, int camType);
    static void buildWork(ParamBlock<kWorkSize> &block);
    static void buildCarrierSpeed(ParamBlock<kCarrierSpeedSize> &block);
};
