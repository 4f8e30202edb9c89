#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

// A scripted UDP peer on loopback for tests that block the test thread in a command: it runs
// on its own thread, records every datagram and answers as its responder says.
class UdpPeer
{
public:
    struct Answer
    {
        QByteArray bytes;
        int delayMs = 0;       // before this answer is sent
        bool otherPort = false; // sent from the same address, another port
        bool otherAddress = false; // sent from 127.0.0.2, the same port
    };
    using Responder = std::function<std::vector<Answer>(const QByteArray &request)>;

    ~UdpPeer() { stop(); }

    // Binds 127.0.0.1:port (and 127.0.0.2:port for otherAddress answers); false when taken.
    bool start(quint16 port, Responder responder);
    void stop();

    QList<QByteArray> received() const;

    static Responder echo();
    static Responder silent();

private:
    void run();

    int fd_ = -1;
    int otherPortFd_ = -1;
    int otherAddressFd_ = -1;
    Responder responder_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable QMutex mutex_;
    QList<QByteArray> received_;
};
