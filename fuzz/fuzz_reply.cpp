// Reply acceptance of the command link: a datagram is taken only from the controller's
// address and port, at the command's exact length and echoing its first bytes; the trace of
// any accepted reply stays within its fixed shape.
#include "link/commanddatagram.h"
#include "link/commands.h"
#include "link/commandtrace.h"
#include "seeds.h"

namespace {

// Input: length(1) request(12) fromAddress(4) fromPort(2) datagram(rest).
constexpr size_t kHeader = 1 + 12 + 4 + 2;
constexpr quint32 kController = 0x7F000001;
constexpr quint16 kPort = 12800;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < kHeader || size > kHeader + 2048)
        return 0;
    const int length = int(data[0] % 16);
    const unsigned char *request = data + 1;
    const quint32 from = (quint32(data[13]) << 24) | (quint32(data[14]) << 16) | (quint32(data[15]) << 8) | data[16];
    const quint16 fromPort = quint16((data[17] << 8) | data[18]);
    const unsigned char *datagram = data + kHeader;
    const qint64 n = qint64(size - kHeader);

    if (!CommandDatagram::isReply(kController, kPort, from, fromPort, request, length, datagram, n))
        return 0;
    ABORT_IF(from != kController || fromPort != kPort || n != length || length < 1 || length > CommandDatagram::kSize
        || std::memcmp(request, datagram, size_t(length < 8 ? length : 8)) != 0);
    const std::string line = CommandTrace::recvLine(datagram, length);
    ABORT_IF(line.compare(0, 5, "recv:") != 0 || line.size() > 5 + 3 * size_t(length) + 2
        || (length == CommandDatagram::kSize && bytesToWord(datagram[9], datagram[8]) != datagram[9] * 256 + datagram[8]));
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    unsigned char request[CommandDatagram::kSize];
    CommandDatagram::parameter(request, 0x2A, 1, 4, 1);
    const std::string r(reinterpret_cast<const char *>(request), sizeof request);
    const std::string from = std::string("\x7f\x00\x00\x01", 4) + char(kPort >> 8) + char(kPort & 0xff);
    const std::string reply = char(CommandDatagram::kSize) + r + from + r;
    std::string wrongPort = reply;
    wrongPort[18] = char(wrongPort[18] + 1);
    return {reply, wrongPort, reply.substr(0, reply.size() - 1)};
}
