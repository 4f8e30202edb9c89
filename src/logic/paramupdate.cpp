#include "paramupdate.h"

#include "link/commands.h"

bool ParamUpdate::open(int group)
{
    return setparacom(0x20, static_cast<unsigned char>(group), 1, 0) == 1;
}

bool ParamUpdate::close(int group)
{
    return setparacom(0x20, static_cast<unsigned char>(group), 0, 0) == 1;
}

namespace {

bool retrying(bool (*step)(int), int group)
{
    for (int i = 0; i < ParamUpdate::kCloseTries; ++i) {
        if (step(group))
            return true;
    }
    return false;
}

} // namespace

bool ParamUpdate::closeRetrying(int group)
{
    return retrying(&ParamUpdate::close, group);
}

bool ParamUpdate::openRetrying(int group)
{
    return retrying(&ParamUpdate::open, group);
}
