#include "tftpsocket.h"

bool TftpSocket::bind(const QHostAddress &address, quint16 port)
{
    bool ok = false;
    const quint32 v = address.toIPv4Address(&ok);
    if (!ok) {
        close();
        refused_ = QStringLiteral("not an IPv4 address");
        return false;
    }
    refused_.clear();
    return bindIpv4(v, port);
}

QString TftpSocket::errorString() const
{
    return refused_.isEmpty() ? QString::fromLocal8Bit(error().c_str()) : refused_;
}
