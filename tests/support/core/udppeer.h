#pragma once

#include "platform/sleeper.h"

#include <QByteArray>
#include <QList>
#include <QMutex>

#include <arpa/inet.h>
#include <array>
#include <atomic>
#include <functional>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

// A scripted UDP peer on loopback for tests that block the test thread in a command: it runs
// on its own thread, records every datagram and answers as its responder says.
class UdpPeer
{
public:
    struct Answer
    {
        QByteArray bytes;
        int delayMs = 0;           // before this answer is sent
        bool otherPort = false;    // sent from the same address, another port
        bool otherAddress = false; // sent from 127.0.0.2, the same port
    };
    using Responder = std::function<std::vector<Answer>(const QByteArray &request)>;
    static Responder echo() { return [](const QByteArray &r) { return std::vector<Answer>{{r}}; }; }
    static Responder silent() { return [](const QByteArray &) { return std::vector<Answer>{}; }; }

    ~UdpPeer() { stop(); }

    // Binds 127.0.0.1:port (and 127.0.0.2:port for otherAddress answers); false when taken.
    bool start(quint16 port, Responder responder)
    {
        stop();
        fds_ = {bind("127.0.0.1", port), bind("127.0.0.1", 0), bind("127.0.0.2", port)};
        if (fds_[0] < 0 || fds_[1] < 0) {
            stop();
            return false;
        }
        QMutexLocker lock(&mutex_);
        received_.clear();
        responder_ = std::move(responder);
        stop_ = false;
        thread_ = std::thread([this] { run(); });
        return true;
    }
    void stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        for (int &fd : fds_) {
            if (fd >= 0)
                ::close(fd);
            fd = -1;
        }
    }
    QList<QByteArray> received() const
    {
        QMutexLocker lock(&mutex_);
        return received_;
    }

private:
    static int bind(const char *address, quint16 port)
    {
        const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        ::inet_pton(AF_INET, address, &a.sin_addr);
        if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }
    void run()
    {
        char buffer[2048];
        while (!stop_) {
            pollfd p{fds_[0], POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            const ssize_t n = ::recvfrom(fds_[0], buffer, sizeof buffer, 0, reinterpret_cast<sockaddr *>(&from), &fromLength);
            if (n < 0)
                continue;
            const QByteArray request(buffer, int(n));
            {
                QMutexLocker lock(&mutex_);
                received_ << request;
            }
            for (const Answer &a : responder_(request)) {
                Sleeper::sleepMs(a.delayMs);
                const int fd = fds_[a.otherAddress ? 2 : a.otherPort ? 1 : 0];
                if (fd >= 0)
                    ::sendto(fd, a.bytes.constData(), size_t(a.bytes.size()), 0, reinterpret_cast<sockaddr *>(&from), fromLength);
            }
        }
    }

    std::array<int, 3> fds_{-1, -1, -1}; // the port, another port, the port on 127.0.0.2
    Responder responder_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable QMutex mutex_;
    QList<QByteArray> received_;
};
