#pragma once
// A TFTP server played by a test, for the cases no real server can be made to show.
// Header only: each .cpp under tests/ is its own test program.

#include "link/tftppacket.h"
#include "link/tftpsocket.h"
#include "platform/panelenv.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSocketNotifier>

#include <functional>
#include <memory>

// A server played by the test: a request socket on the TFTP port and two transfer sockets,
// each packet handed to onPacket(socket index, packet, raw bytes).
class ScriptedServer
{
public:
    ScriptedServer()
    {
        sockets_[0].bind(QHostAddress::LocalHost, PanelEnv::port(69));
        sockets_[1].bind(QHostAddress::LocalHost, 0);
        sockets_[2].bind(QHostAddress::LocalHost, 0);
        for (int i = 0; i < 3; ++i) {
            notifiers_[i] = std::make_unique<QSocketNotifier>(sockets_[i].fd(), QSocketNotifier::Read);
            QObject::connect(notifiers_[i].get(), &QSocketNotifier::activated, [this, i] { readable(i); });
        }
    }
    bool ok() const { return sockets_[0].isOpen() && sockets_[1].isOpen() && sockets_[2].isOpen(); }
    void send(int socket, const QByteArray &packet)
    {
        sockets_[socket].sendTo(packet.constData(), packet.size(), 0x7f000001, clientPort);
    }
    static QByteArray data(int block, const QByteArray &body)
    {
        char p[TftpPacket::kMaxPacket];
        return QByteArray(p, TftpPacket::makeData(block, body.constData(), body.size(), p, sizeof p));
    }
    static QByteArray ack(int block)
    {
        char p[4];
        return QByteArray(p, TftpPacket::makeAck(block, p, 4));
    }

    std::function<void(int, const TftpPacket::View &, const QByteArray &)> onPacket;
    QList<QByteArray> received[3];
    quint16 clientPort = 0;

private:
    void readable(int i)
    {
        char buf[1024];
        quint32 a;
        quint16 p;
        int n;
        while ((n = sockets_[i].receive(buf, sizeof buf, &a, &p)) >= 0) {
            clientPort = p;
            const QByteArray raw(buf, qMin<int>(n, sizeof buf));
            received[i].append(raw);
            if (onPacket)
                onPacket(i, TftpPacket::parse(raw.constData(), raw.size()), raw);
        }
    }

    TftpSocket sockets_[3];
    std::unique_ptr<QSocketNotifier> notifiers_[3];
};
