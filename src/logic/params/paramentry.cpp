#include "paramentry.h"

#include "data/protocol.h"
#include "link/commands.h"

ParamEntry::Result ParamEntry::confirm(const ParamCell &cell, const QString &text, int bedWidth)
{
    const CellText::Parsed p = CellText::parse(cell, text, bedWidth);
    if (p.status != CellText::Value)
        return OutOfRange;
    return send(cell, p.stored);
}

ParamEntry::Result ParamEntry::send(const ParamCell &cell, unsigned short value)
{
    if (setParameter(Protocol::SetCommand, static_cast<unsigned char>(group_), static_cast<unsigned short>(cell.address), value) != Protocol::Answered)
        return Refused;
    keep(cell, value);
    return Stored;
}
