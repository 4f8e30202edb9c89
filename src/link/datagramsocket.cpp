#include "datagramsocket.h"

#include <QSocketNotifier>

#include <netinet/in.h>
#include <sys/socket.h>

DatagramSocket::DatagramSocket(QObject *parent)
    : QObject(parent)
{
}

DatagramSocket::~DatagramSocket()
{
    // The notifier goes before the descriptor it watches.
    close();
}

bool DatagramSocket::bind(quint16 port)
{
    if (isBound())
        return true;
    if (!port_.bindIpv4(INADDR_ANY, port))
        return false;
    notifier_ = new QSocketNotifier(qintptr(port_.fd()), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &DatagramSocket::readyRead);
    return true;
}

void DatagramSocket::close()
{
    delete notifier_;
    notifier_ = nullptr;
    port_.close();
}

void DatagramSocket::setReceiveBuffer(int bytes)
{
    if (port_.isOpen())
        ::setsockopt(port_.fd(), SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
}

bool DatagramSocket::sendTo(const unsigned char *bytes, int length, quint32 address, quint16 port)
{
    if (!port_.isOpen() && !port_.bindIpv4(INADDR_ANY, 0))
        return false;
    return port_.sendTo(reinterpret_cast<const char *>(bytes), length, address, port);
}

int DatagramSocket::receive(unsigned char *buffer, int size, quint32 *address, quint16 *port)
{
    quint16 from = 0;
    const int n = port_.receive(reinterpret_cast<char *>(buffer), size, address, port ? port : &from);
    // A longer datagram is cut to size, as a datagram socket hands it on.
    return n < size ? n : size;
}
