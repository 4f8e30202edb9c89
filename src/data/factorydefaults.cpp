#include "factorydefaults.h"

#include "protocol.h"
#include "systemsettings.h"

void FactoryDefaults::buildSystem(ParamBlock<kSystemSize> &block, int camType)
{
    block.clear();
    for (const SystemSettings::Setting &s : SystemSettings::all()) {
        for (unsigned w = s.first; w <= s.last; ++w)
            block.setWord(w, SystemSettings::factoryValue(s, camType));
    }
    for (const SystemSettings::Grid &g : SystemSettings::grids()) {
        for (unsigned w = g.first; w <= g.last; ++w)
            block.setWord(w, SystemSettings::factoryValue(g, int(w)));
    }
}

void FactoryDefaults::buildWork(ParamBlock<kWorkSize> &block)
{
    block.clear();
    for (unsigned w = 0; w <= 239; ++w)
        block.setWord(w, w >= 176 && w <= 191 ? 10 : 180);
    for (unsigned w = 240; w <= 359; ++w)
        block.setWord(w, w == 292 || w == 322 || w == 352 ? 1 : 40);
    for (unsigned w = 360; w <= 487; ++w)
        block.setWord(w, static_cast<unsigned short>(8 + 2 * ((w - 360) % 8)));
    for (unsigned w = 488; w <= 495; ++w)
        block.setWord(w, 8);
    for (unsigned w = 504; w <= 695; ++w)
        block.setWord(w, 8);
    for (unsigned w = 696; w <= 775; ++w)
        block.setWord(w, static_cast<unsigned short>(1 + (w - 696) % 8));
    block.setWord(Protocol::JobStartNeedleWord, 1);
}

void FactoryDefaults::buildCarrierSpeed(ParamBlock<kCarrierSpeedSize> &block)
{
    block.clear();
    for (unsigned w = 64; w <= 383; ++w)
        block.setWord(w, 100);
}
