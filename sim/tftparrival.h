#pragma once

#include "faultlayer.h"

#include "link/tftppacket.h"
#include "link/tftpsocket.h"

#include <QByteArray>

#include <functional>

// One datagram taken from a TFTP socket: its bytes as they came (for the journal), its parse
// (pointing into the receive buffer, valid until the next datagram is taken) and its sender.
struct TftpArrival
{
    QByteArray bytes;
    TftpPacket::View view;
    quint32 address = 0;
    quint16 port = 0;
};

// Takes every datagram waiting on the socket and hands each on in order, except one longer than
// a packet and one the fault layer (when set) drops: the server's and the sessions' one loop.
void receiveTftp(TftpSocket &socket, char (&buffer)[TftpPacket::kMaxPacket], FaultLayer *network,
                 const std::function<void(const TftpArrival &)> &take);
