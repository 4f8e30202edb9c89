#include "tftpport.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

TftpPort::~TftpPort()
{
    close();
}

bool TftpPort::bindIpv4(std::uint32_t v4, std::uint16_t port)
{
    close();
    // A blocking descriptor, so receiveWithin() can wait in recvfrom itself; every other call
    // passes MSG_DONTWAIT.
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        error_ = std::strerror(errno);
        return false;
    }
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(v4);
    if (::bind(fd_, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        error_ = std::strerror(errno);
        close();
        return false;
    }
    return true;
}

void TftpPort::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

std::uint16_t TftpPort::localPort() const
{
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (fd_ < 0 || ::getsockname(fd_, reinterpret_cast<sockaddr *>(&a), &len) != 0)
        return 0;
    return ntohs(a.sin_port);
}

bool TftpPort::sendTo(const char *data, int length, std::uint32_t address, std::uint16_t port)
{
    if (fd_ < 0 || length <= 0)
        return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(address);
    for (;;) {
        const ssize_t n = ::sendto(fd_, data, size_t(length), MSG_DONTWAIT, reinterpret_cast<sockaddr *>(&a), sizeof a);
        if (n >= 0)
            return n == length;
        if (errno != EINTR)
            return false;
    }
}

int TftpPort::receive(char *buffer, int size, std::uint32_t *address, std::uint16_t *port)
{
    return receive(buffer, size, address, port, MSG_DONTWAIT);
}

int TftpPort::receiveWithin(char *buffer, int size, std::uint32_t *address, std::uint16_t *port)
{
    return receive(buffer, size, address, port, 0);
}

bool TftpPort::setWaitMs(int ms)
{
    const timeval t{ms / 1000, (ms % 1000) * 1000};
    return fd_ >= 0 && ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &t, sizeof t) == 0;
}

int TftpPort::receive(char *buffer, int size, std::uint32_t *address, std::uint16_t *port, int flags)
{
    if (fd_ < 0)
        return -1;
    sockaddr_in a{};
    socklen_t len = sizeof a;
    for (;;) {
        const ssize_t n = ::recvfrom(fd_, buffer, size_t(size), MSG_TRUNC | flags,
                                     reinterpret_cast<sockaddr *>(&a), &len);
        if (n >= 0) {
            *address = ntohl(a.sin_addr.s_addr);
            *port = ntohs(a.sin_port);
            return int(n);
        }
        // EAGAIN: nothing came (at once, or within the wait).
        if (errno != EINTR)
            return -1;
    }
}
