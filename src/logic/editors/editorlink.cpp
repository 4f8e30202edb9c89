#include "editorlink.h"

#include "data/protocol.h"
#include "link/commands.h"
#include "logic/controller/updatebracket.h"

EditorLink EditorLink::controller()
{
    EditorLink link;
    link.bracket = [](int group, bool open) { return open ? UpdateBracket(group).open() : UpdateBracket(group).close(); };
    link.row = [](unsigned short a1, unsigned short a2, unsigned char v) { return sendRowCommand(a1, a2, v) == Protocol::Answered; };
    link.motoStatus = [] { return queryCarriageStatus(); };
    return link;
}

bool EditorLink::open(int group) const
{
    if (bracket(group, true))
        return true;
    bracket(group, false);
    return false;
}

bool EditorLink::closeRetrying(int group) const
{
    // Every try goes through bracket, so a recorded link sees each one.
    const UpdateBracket recorded(group, [this](unsigned char, unsigned char g, unsigned short value1, unsigned short) {
        return bracket(g, value1 == Protocol::Open);
    });
    return recorded.closeRetrying();
}
