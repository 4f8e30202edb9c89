#pragma once

#include <QByteArray>

class SimState;

// Turns one command datagram into the controller's effect on SimState and its answer: the
// 12 bytes echoed with the result in bytes 8-9. No sockets here, so it can be fuzzed.
class CommandHandler
{
public:
    // The reply, or an empty array when the datagram gets none (not one command datagram long).
    static QByteArray answer(SimState &state, const QByteArray &datagram);
};
