#pragma once

#include "link/tftpport.h"

#include <QObject>

class QSocketNotifier;

// An IPv4 UDP socket in the event loop on plain system calls, with readyRead() while datagrams
// wait: the status channel, the test pages and the offline probe use it, so the panel loads no
// network library for its datagrams.
class DatagramSocket : public QObject
{
    Q_OBJECT

public:
    explicit DatagramSocket(QObject *parent = nullptr);
    ~DatagramSocket() override;

    // Binds port on every local IPv4 address, not shared with another socket. False when the
    // port is taken; the socket can still send.
    bool bind(quint16 port);
    bool isBound() const { return notifier_ != nullptr; }
    // Gives the port up at once, for whoever binds it next.
    void close();
    // The kernel's queue for datagrams that arrive while the thread is busy.
    void setReceiveBuffer(int bytes);
    // From the bound port or, unbound, from one the kernel picks. False when not sent whole.
    bool sendTo(const unsigned char *bytes, int length, quint32 address, quint16 port);
    // One waiting datagram cut to size: the bytes taken, or -1 when none waits.
    int receive(unsigned char *buffer, int size, quint32 *address, quint16 *port = nullptr);

Q_SIGNALS:
    void readyRead();

private:
    TftpPort port_;
    QSocketNotifier *notifier_ = nullptr;
};
