#pragma once

#include <QHostAddress>

// An IPv4 UDP socket for TFTP: plain system calls, no per-datagram allocation, so a transfer
// costs one recvfrom and one sendto per block. Sends and receive() never block;
// receiveWithin() waits up to the time-out set with setWaitMs().
class TftpSocket
{
public:
    TftpSocket() = default;
    ~TftpSocket();
    TftpSocket(const TftpSocket &) = delete;
    TftpSocket &operator=(const TftpSocket &) = delete;

    // Binds to address:port (IPv4 in host byte order; port 0 picks a free one). False, with
    // errorString(), on failure.
    bool bindIpv4(quint32 address, quint16 port);
    bool bind(const QHostAddress &address, quint16 port)
    {
        bool ok = false;
        const quint32 v = address.toIPv4Address(&ok);
        return ok ? bindIpv4(v, port) : refuse(QStringLiteral("not an IPv4 address"));
    }
    void close();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    quint16 localPort() const;
    QString errorString() const { return error_; }

    bool sendTo(const char *data, int length, quint32 address, quint16 port);
    // The datagram's real length, or -1 when none is waiting. A length above size means the
    // datagram was cut to size bytes: callers refuse it rather than take its head.
    int receive(char *buffer, int size, quint32 *address, quint16 *port);
    // As receive(), but waits in the kernel up to setWaitMs() for a datagram to arrive.
    int receiveWithin(char *buffer, int size, quint32 *address, quint16 *port);
    bool setWaitMs(int ms);

private:
    bool refuse(const QString &why);
    int receive(char *buffer, int size, quint32 *address, quint16 *port, int flags);

    int fd_ = -1;
    QString error_;
};
