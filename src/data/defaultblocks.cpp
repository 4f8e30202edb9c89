#include "defaultblocks.h"

#include "factorydefaults.h"
#include "machinedata.h"
#include "platform/atomicfile.h"
#include "platform/panelpaths.h"

namespace {

template <std::size_t N>
unsigned char writeImage(const ParamBlock<N> &block, const char *name)
{
    return AtomicFile::save(PanelPaths::tmp(QString::fromLatin1(name)), block.data(), qint64(N)) ? 1 : 0;
}

} // namespace

unsigned char initSystemParams(MachineData &data)
{
    ParamBlock<kSystemSize> block;
    FactoryDefaults::buildSystem(block, data.controllerConfig()[3]);
    data.system().assign(block);
    return writeImage(block, "/default.sys");
}

unsigned char initWorkParams(MachineData &data)
{
    ParamBlock<kWorkSize> block;
    FactoryDefaults::buildWork(block);
    data.work().assign(block);
    return writeImage(block, "/default.wrk");
}

unsigned char initOtherParams(MachineData &data)
{
    ParamBlock<kCarrierSpeedSize> block;
    FactoryDefaults::buildCarrierSpeed(block);
    data.carrierSpeedTable().assign(block);
    return writeImage(block, "/default.mth");
}

int countSystems()
{
    return 1;
}
