#pragma once

#include "data/protocol.h"

#include <QtGlobal>

// The 12-byte command datagram: how the two request forms are laid out and which datagram
// counts as the controller's reply. Pure functions, so the fuzzer can drive them.
class CommandDatagram
{
public:
    static constexpr int kSize = Protocol::DatagramSize;

    // Parameter-command form: cmd 'A' 0 0 ESC object value1(le) value2(le) 'U' 0.
    static void parameter(unsigned char *buffer, unsigned char cmd, unsigned char object,
                          unsigned short value1, unsigned short value2);
    // Row-command form: 'r' 4 1 0 ESC arg1(le) arg2(le) arg3 'U' 0.
    static void row(unsigned char *buffer, unsigned short arg1, unsigned short arg2, unsigned char arg3);

    // A datagram is the reply only when it comes from the address and port the command went
    // to, is exactly as long as the command and echoes its bytes before the result (0-7);
    // anything else is someone else's traffic or a late copy of an earlier command's reply.
    static bool isReply(quint32 toAddress, quint16 toPort, quint32 fromAddress, quint16 fromPort,
                        const unsigned char *request, int length, const unsigned char *datagram, qint64 size);
    static constexpr int kEchoed = 8;
};
