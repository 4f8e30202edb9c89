#pragma once

#include <QHostAddress>

// A non-blocking IPv4 UDP socket for TFTP: plain system calls, no per-datagram allocation,
// so a transfer costs one recvfrom and one sendto per block.
class TftpSocket
{
public:
    TftpSocket() = default;
    ~TftpSocket();
    TftpSocket(const TftpSocket &) = delete;
    TftpSocket &operator=(const TftpSocket &) = delete;

    // Binds to address:port (port 0 picks a free one). False, with errorString(), on failure.
    bool bind(const QHostAddress &address, quint16 port);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    quint16 localPort() const;
    QString errorString() const { return error_; }

    bool sendTo(const char *data, int length, quint32 address, quint16 port);
    // The datagram's real length, or -1 when none is waiting. A length above size means the
    // datagram was cut to size bytes: callers refuse it rather than take its head.
    int receive(char *buffer, int size, quint32 *address, quint16 *port);

private:
    int fd_ = -1;
    QString error_;
};
