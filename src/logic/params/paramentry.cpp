#include "paramentry.h"

#include "data/protocol.h"
#include "link/commands.h"

ParamEntry::Result ParamEntry::confirm(const ParamCell &cell, const CellText::Parsed &parsed)
{
    if (parsed.status != CellText::Value)
        return OutOfRange;
    return send(cell, parsed.stored);
}

ParamEntry::Result ParamEntry::send(const ParamCell &cell, unsigned short value)
{
    if (setParameter(Protocol::SetCommand, static_cast<unsigned char>(group_), static_cast<unsigned short>(cell.address), value) != Protocol::Answered)
        return Refused;
    keep(cell, value);
    return Stored;
}
