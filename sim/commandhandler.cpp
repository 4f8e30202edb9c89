#include "commandhandler.h"

#include "simstate.h"

#include "data/protocol.h"
#include "link/commanddatagram.h"

namespace {

quint16 word(const QByteArray &d, int at)
{
    return quint16(quint8(d[at]) | (quint8(d[at + 1]) << 8));
}

quint16 apply(SimState &state, const QByteArray &d)
{
    // A datagram without the frame markers is answered but changes nothing.
    if (quint8(d[Protocol::EscapeByte]) != Protocol::Escape || quint8(d[Protocol::EndByte]) != Protocol::EndMark)
        return 0;
    const quint8 cmd = quint8(d[0]);
    if (cmd == Protocol::RowCommand && quint8(d[1]) == Protocol::RowForm[0]) {
        const quint16 row = quint16(quint8(d[5]) | (quint8(d[6]) << 8));
        const quint16 offset = quint16(quint8(d[7]) | (quint8(d[8]) << 8));
        state.setRowByte(row, offset, quint8(d[9]));
        return 0;
    }
    if (quint8(d[1]) != Protocol::ParameterForm[0])
        return 0;
    const quint8 object = quint8(d[Protocol::ObjectByte]);
    const quint16 v1 = word(d, Protocol::FirstValueByte);
    const quint16 v2 = word(d, Protocol::SecondValueByte);
    switch (cmd) {
    case Protocol::UpdateCommand:
        state.setGroupOpen(object, v1 != 0);
        return 0;
    case Protocol::SetCommand:
        state.setValue(object, v1, v2);
        return 0;
    case Protocol::QueryCommand:
        return state.motoStatus();
    case Protocol::ActionCommand:
        state.setAction(v1, v2);
        return state.actionReply(v1);
    case Protocol::HomeCommand:
        state.home();
        return 0;
    default:
        return 0;
    }
}

} // namespace

QByteArray CommandHandler::answer(SimState &state, const QByteArray &datagram)
{
    if (datagram.size() != CommandDatagram::kSize)
        return {};
    QByteArray reply = datagram;
    const quint16 result = apply(state, datagram);
    reply[Protocol::ResultLowByte] = char(result & 0xff);
    reply[Protocol::ResultHighByte] = char(result >> 8);
    return reply;
}
