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

bool ParamUpdate::closeRetrying(int group)
{
    for (int i = 0; i < kCloseTries; ++i) {
        if (close(group))
            return true;
    }
    return false;
}
