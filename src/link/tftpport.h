#pragma once

#include <cstdint>
#include <string>

// An IPv4 UDP socket for TFTP: plain system calls, no per-datagram allocation, so a transfer
// costs one recvfrom and one sendto per block. Sends and receive() never block; receiveWithin()
// waits up to the time-out set with setWaitMs(). Plain C++: the file tool uses it without Qt.
class TftpPort
{
public:
    TftpPort() = default;
    ~TftpPort();
    TftpPort(const TftpPort &) = delete;
    TftpPort &operator=(const TftpPort &) = delete;

    // Binds to address:port (IPv4 in host byte order; port 0 picks a free one). False, with
    // error(), on failure.
    bool bindIpv4(std::uint32_t address, std::uint16_t port);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    std::uint16_t localPort() const;
    const std::string &error() const { return error_; }

    bool sendTo(const char *data, int length, std::uint32_t address, std::uint16_t port);
    // The datagram's real length, or -1 when none is waiting. A length above size means the
    // datagram was cut to size bytes: callers refuse it rather than take its head.
    int receive(char *buffer, int size, std::uint32_t *address, std::uint16_t *port);
    // As receive(), but waits in the kernel up to setWaitMs() for a datagram to arrive.
    int receiveWithin(char *buffer, int size, std::uint32_t *address, std::uint16_t *port);
    bool setWaitMs(int ms);

private:
    int receive(char *buffer, int size, std::uint32_t *address, std::uint16_t *port, int flags);

    int fd_ = -1;
    std::string error_;
};
