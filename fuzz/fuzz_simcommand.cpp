// knitsim's command handler on any datagram: it answers only 12-byte datagrams, always with
// 12 bytes that echo the request outside the result, and never runs out of bounds. Its test
// modes take the same datagrams first: their answers echo the request whole, and their blocks
// keep the size of the files they are served from.
#include "commandhandler.h"
#include "simstate.h"
#include "testmodestate.h"

#include "link/commanddatagram.h"
#include "link/testdatagram.h"
#include "seeds.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4096)
        return 0;
    // A fresh machine per input: a finding then replays from its input alone, and a state
    // grown over millions of inputs does not slow every later one.
    SimState state{QString()};
    TestModeState modes;
    // Several datagrams per input, so sequences (open, set, close) get explored too.
    size_t at = 0;
    while (at < size) {
        const size_t n = std::min<size_t>(data[at] % 16, size - at - 1);
        const QByteArray datagram(reinterpret_cast<const char *>(data + at + 1), int(n));
        at += n + 1;
        QByteArray testAnswer;
        if (modes.handle(state, datagram, &testAnswer)) {
            ABORT_IF(datagram.size() != CommandDatagram::kSize || (!testAnswer.isEmpty() && testAnswer.left(8) != datagram.left(8))
                || modes.io().size() != 80 || modes.moto().size() != 92);
            continue;
        }
        const QByteArray reply = CommandHandler::answer(state, datagram);
        if (datagram.size() != CommandDatagram::kSize) {
            ABORT_IF(!reply.isEmpty());
            continue;
        }
        ABORT_IF(reply.size() != CommandDatagram::kSize || reply.left(8) != datagram.left(8) || reply.mid(10) != datagram.mid(10));
    }
    ABORT_IF(state.describe().isEmpty());
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    std::string bracket;
    const unsigned char steps[][4] = {{0x20, 2, 1, 0}, {0x22, 2, 5, 77}, {0x26, 0x21, 0, 0}, {0x2A, 1, 4, 1}, {0x20, 2, 0, 0},
                                      {0x20, 128, 1, 0}, {0x20, 129, 1, 0}};
    for (const auto &s : steps) {
        unsigned char d[CommandDatagram::kSize];
        CommandDatagram::parameter(d, s[0], s[1], s[2], s[3]);
        bracket += char(CommandDatagram::kSize);
        bracket.append(reinterpret_cast<const char *>(d), sizeof d);
    }
    unsigned char row[CommandDatagram::kSize];
    CommandDatagram::row(row, 3, 17, 0xAB);
    // In the carriage test mode: a selector's blades, then every motor's position.
    std::string carriage = bracket;
    for (const unsigned short first : {0x0302, 0x0800}) {
        unsigned char d[CommandDatagram::kSize];
        TestDatagram::command(d, TestDatagram::Carriage, first, 0x28);
        carriage += char(CommandDatagram::kSize);
        carriage.append(reinterpret_cast<const char *>(d), sizeof d);
    }
    return {bracket, carriage, std::string(1, char(CommandDatagram::kSize)) + std::string(reinterpret_cast<const char *>(row), sizeof row)};
}
