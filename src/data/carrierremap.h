#pragma once

#include "blocksizes.h"

#include <array>

// The carrier replacement the row display applies: mode and enable from the system
// parameters, the eight-entry map from the work parameters.
struct CarrierRemap
{
    unsigned short mode = 0;    // system block word 22 (byte 44)
    unsigned short enable = 0;  // system block word 25 (byte 50)
    std::array<unsigned short, 8> map{}; // work block words 696-703 (byte 1392)

    static CarrierRemap fromBlocks(const ParamBlock<kSystemSize> &system, const ParamBlock<kWorkSize> &work);
};
