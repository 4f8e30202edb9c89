#include "editorlink.h"

#include "paramupdate.h"

#include "link/commands.h"

EditorLink EditorLink::controller()
{
    EditorLink link;
    link.bracket = [](int group, bool open) { return open ? ParamUpdate::open(group) : ParamUpdate::close(group); };
    link.row = [](unsigned short a1, unsigned short a2, unsigned char v) { return setcntcmd(a1, a2, v) == 1; };
    link.motoStatus = [] { return getmotostatus(); };
    return link;
}

bool EditorLink::closeRetrying(int group) const
{
    for (int i = 0; i < ParamUpdate::kCloseTries; ++i) {
        if (bracket(group, false))
            return true;
    }
    return false;
}
