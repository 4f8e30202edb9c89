#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The server's transfer ports of a client's latest transfers and of packets that belonged to
// none. The local port is fixed, so a server still repeating a packet of an earlier transfer
// (its acknowledgement lost, or our next request) reaches the next one: such a port never
// opens a transfer. Whoever runs transfers one after another on that port keeps one for all.
class TftpStalePorts
{
public:
    static const std::size_t kKept = 4;

    bool contains(std::uint16_t port) const;
    // The latest kKept marked are kept.
    void mark(std::uint16_t port);

private:
    std::vector<std::uint16_t> ports_;
};
