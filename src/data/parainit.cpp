#include "parainit.h"

#include "paradefaults.h"
#include "parablocks.h"
#include "platform/atomicfile.h"
#include "platform/panelpaths.h"

namespace {

template <std::size_t N>
unsigned char writeImage(const ParaBlock<N> &block, const char *name)
{
    return AtomicFile::save(PanelPaths::tmp(QString::fromLatin1(name)), block.data(), qint64(N)) ? 1 : 0;
}

} // namespace

unsigned char initsystemparam()
{
    ParaDefaults::buildSystem(para_system, ctro_config[3]);
    return writeImage(para_system, "/default.sys");
}

unsigned char initworkparam()
{
    ParaDefaults::buildWork(para_work);
    return writeImage(para_work, "/default.wrk");
}

unsigned char initelseparam()
{
    ParaDefaults::buildMouthSpeed(run_mouth_speed);
    return writeImage(run_mouth_speed, "/default.mth");
}

int count_system_number()
{
    return 1;
}
