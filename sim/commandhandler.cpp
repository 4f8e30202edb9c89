#include "commandhandler.h"

#include "simstate.h"

namespace {

enum : quint8 {
    kOpenClose = 0x20,
    kSetValue = 0x22,
    kStatus = 0x26,
    kAction = 0x2A,
    kHome = 0x2E,
    kRow = 0x72,
};

quint16 word(const QByteArray &d, int at)
{
    return quint16(quint8(d[at]) | (quint8(d[at + 1]) << 8));
}

quint16 apply(SimState &state, const QByteArray &d)
{
    // A datagram without the frame markers is answered but changes nothing.
    if (quint8(d[4]) != 0x1B || quint8(d[10]) != 0x55)
        return 0;
    const quint8 cmd = quint8(d[0]);
    if (cmd == kRow && quint8(d[1]) == 0x04) {
        const quint16 row = quint16(quint8(d[5]) | (quint8(d[6]) << 8));
        const quint16 offset = quint16(quint8(d[7]) | (quint8(d[8]) << 8));
        state.setRowByte(row, offset, quint8(d[9]));
        return 0;
    }
    if (quint8(d[1]) != 0x41)
        return 0;
    const quint8 object = quint8(d[5]);
    const quint16 v1 = word(d, 6);
    const quint16 v2 = word(d, 8);
    switch (cmd) {
    case kOpenClose:
        state.setGroupOpen(object, v1 != 0);
        return 0;
    case kSetValue:
        state.setValue(object, v1, v2);
        return 0;
    case kStatus:
        return state.motoStatus();
    case kAction:
        state.setAction(v1, v2);
        return state.actionReply(v1);
    case kHome:
        state.home();
        return 0;
    default:
        return 0;
    }
}

} // namespace

QByteArray CommandHandler::answer(SimState &state, const QByteArray &datagram)
{
    if (datagram.size() != kSize)
        return {};
    QByteArray reply = datagram;
    const quint16 result = apply(state, datagram);
    reply[8] = char(result & 0xff);
    reply[9] = char(result >> 8);
    return reply;
}
