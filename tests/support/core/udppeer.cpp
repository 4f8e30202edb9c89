#include "udppeer.h"

#include "platform/sleeper.h"

#include <QMutexLocker>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int bindUdp(const char *address, quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    ::inet_pton(AF_INET, address, &a.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

bool UdpPeer::start(quint16 port, Responder responder)
{
    stop();
    fd_ = bindUdp("127.0.0.1", port);
    otherPortFd_ = bindUdp("127.0.0.1", 0);
    otherAddressFd_ = bindUdp("127.0.0.2", port);
    if (fd_ < 0 || otherPortFd_ < 0) {
        stop();
        return false;
    }
    {
        QMutexLocker lock(&mutex_);
        received_.clear();
    }
    responder_ = std::move(responder);
    stop_ = false;
    thread_ = std::thread([this] { run(); });
    return true;
}

void UdpPeer::stop()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    closeFd(fd_);
    closeFd(otherPortFd_);
    closeFd(otherAddressFd_);
}

QList<QByteArray> UdpPeer::received() const
{
    QMutexLocker lock(&mutex_);
    return received_;
}

UdpPeer::Responder UdpPeer::echo()
{
    return [](const QByteArray &request) { return std::vector<Answer>{{request}}; };
}

UdpPeer::Responder UdpPeer::silent()
{
    return [](const QByteArray &) { return std::vector<Answer>{}; };
}

void UdpPeer::run()
{
    char buffer[2048];
    while (!stop_) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n = ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr *>(&from), &fromLength);
        if (n < 0)
            continue;
        const QByteArray request(buffer, int(n));
        {
            QMutexLocker lock(&mutex_);
            received_ << request;
        }
        for (const Answer &a : responder_(request)) {
            Sleeper::sleepMs(a.delayMs);
            const int fd = a.otherAddress ? otherAddressFd_ : a.otherPort ? otherPortFd_ : fd_;
            if (fd >= 0)
                ::sendto(fd, a.bytes.constData(), size_t(a.bytes.size()), 0, reinterpret_cast<sockaddr *>(&from), fromLength);
        }
    }
}
