#include "commandexchange.h"

#include "commanddatagram.h"
#include "commandtrace.h"
#include "controllerpresence.h"

#include "data/protocol.h"
#include "platform/panelenv.h"
#include "platform/servicenotify.h"
#include "platform/sleeper.h"
#include "platform/stallreport.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

qint64 monotonicMs()
{
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// A UDP socket bound to the command port on every local address; bound is false when the
// port is taken (the socket can still send, from a port the kernel picks).
int openSocket(bool *bound)
{
    *bound = false;
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(PanelEnv::port(Protocol::PanelCommandPort));
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    *bound = ::bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) == 0;
    return fd;
}

void sendTo(int fd, quint32 address, quint16 port, const unsigned char *buffer, int length)
{
    if (fd < 0)
        return;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(address);
    ::sendto(fd, buffer, size_t(length), 0, reinterpret_cast<sockaddr *>(&to), sizeof to);
}

// Whatever waits on the port before the command goes out cannot be its reply: a late copy of
// an earlier answer.
void drain(int fd)
{
    unsigned char discard[16];
    while (::recv(fd, discard, sizeof discard, 0) >= 0) {
    }
}

// Reads datagrams until the reply arrives or the deadline passes; others are dropped.
bool awaitReply(int fd, quint32 address, quint16 port, qint64 deadline, unsigned char *buffer, int length)
{
    unsigned char datagram[1500];
    for (;;) {
        const qint64 left = deadline - monotonicMs();
        if (left <= 0)
            return false;
        pollfd p{fd, POLLIN, 0};
        // In slices, each followed by a watchdog ping: a 20 s wait is no hang.
        const int rc = ::poll(&p, 1, ServiceNotify::slice(left));
        ServiceNotify::ping();
        if ((rc < 0 && errno == EINTR) || (rc == 0 && deadline > monotonicMs()))
            continue;
        if (rc <= 0)
            return false;
        for (;;) {
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            const ssize_t n = ::recvfrom(fd, datagram, sizeof datagram, MSG_TRUNC,
                                         reinterpret_cast<sockaddr *>(&from), &fromLength);
            if (n < 0)
                break;
            if (CommandDatagram::isReply(address, port, ntohl(from.sin_addr.s_addr), ntohs(from.sin_port),
                                         buffer, length, datagram, n)) {
                std::memcpy(buffer, datagram, size_t(length));
                return true;
            }
        }
    }
}

} // namespace

unsigned char exchangeCommand(quint32 to, quint16 port, int timeoutMs, unsigned char *buffer, int length)
{
    if (!buffer || length <= 0 || length > CommandDatagram::kSize)
        return Protocol::NotAnswered;
    // The reply is waited for in poll(): the event loop's turn comes after it.
    const StallReport::Wait mandated;
    ControllerPresence *presence = ControllerPresence::find();
    if (presence)
        presence->commandStarting();
    bool bound = false;
    const int fd = openSocket(&bound);
    if (bound)
        drain(fd);
    sendTo(fd, to, port, buffer, length);
    const qint64 deadline = monotonicMs() + (timeoutMs > 0 ? timeoutMs : 0);
    CommandTrace::print(CommandTrace::sendLine(buffer, length));

    bool answered = false;
    if (bound) {
        answered = awaitReply(fd, to, port, deadline, buffer, length);
    } else {
        // Without the command port no reply can reach us; the caller still waits its time.
        const qint64 left = deadline - monotonicMs();
        Sleeper::sleepMs(int(left > 0 ? left : 0));
    }
    if (fd >= 0)
        ::close(fd);
    if (answered)
        CommandTrace::print(CommandTrace::recvLine(buffer, length));
    if (presence)
        presence->commandEnded(answered);
    return answered ? Protocol::Answered : Protocol::NotAnswered;
}

void sendCommandOnce(quint32 to, quint16 port, const unsigned char *buffer, int length)
{
    if (!buffer || length <= 0 || length > CommandDatagram::kSize)
        return;
    if (ControllerPresence *presence = ControllerPresence::find())
        presence->commandStarting();
    bool bound = false;
    const int fd = openSocket(&bound);
    sendTo(fd, to, port, buffer, length);
    CommandTrace::print(CommandTrace::sendLine(buffer, length));
    if (fd >= 0)
        ::close(fd);
}
