// TFTP packets as the client and knitsim's server receive them: the parser must never read
// outside the datagram, and every packet it accepts must rebuild to the same bytes.
#include "link/tftppacket.h"
#include "seeds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 2 * TftpPacket::kMaxPacket)
        return 0;
    const char *p = reinterpret_cast<const char *>(data);
    const TftpPacket::View v = TftpPacket::parse(p, int(size));
    if (!v.valid)
        return 0;
    char out[TftpPacket::kMaxPacket + 8];
    int n = 0;
    switch (v.opcode) {
    case TftpPacket::Rrq:
    case TftpPacket::Wrq:
        n = TftpPacket::makeRequest(v.opcode, v.mode, v.name, out, int(sizeof out));
        ABORT_IF(n == 0 || n > int(size) || std::memcmp(out, p, size_t(n)) != 0);
        return 0;
    case TftpPacket::Data:
        ABORT_IF(v.dataLength < 0 || v.dataLength > TftpPacket::kBlockSize);
        n = TftpPacket::makeData(v.block, v.data, v.dataLength, out, int(sizeof out));
        break;
    case TftpPacket::Ack:
        n = TftpPacket::makeAck(v.block, out, int(sizeof out));
        ABORT_IF(n != 4 || std::memcmp(out, p, 4) != 0);
        return 0;
    case TftpPacket::Error:
        ABORT_IF(v.message && std::strlen(v.message) >= size);
        return 0;
    default:
        std::abort();
    }
    ABORT_IF(n != int(size) || std::memcmp(out, p, size) != 0);
    return 0;
}

std::vector<std::string> knit_fuzz_seeds()
{
    char b[TftpPacket::kMaxPacket];
    const std::string block(512, 'x');
    auto seed = [&b](int n) { return std::string(b, size_t(n)); };
    return {seed(TftpPacket::makeRequest(TftpPacket::Rrq, "octet", "file.sys", b, sizeof b)),
            seed(TftpPacket::makeData(65535, block.data(), 512, b, sizeof b)),
            seed(TftpPacket::makeData(2, nullptr, 0, b, sizeof b)), seed(TftpPacket::makeAck(0, b, sizeof b)),
            seed(TftpPacket::makeError(1, "File not found", b, sizeof b))};
}
