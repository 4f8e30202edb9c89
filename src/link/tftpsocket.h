#pragma once

#include "link/tftpport.h"

#include <QHostAddress>
#include <QString>

// The TFTP socket as the panel, knitsim and the tests take it: a TftpPort bound by QHostAddress
// with its failure as a QString.
class TftpSocket : public TftpPort
{
public:
    // False with errorString() for an address that is not IPv4 or a port that cannot be bound.
    bool bind(const QHostAddress &address, quint16 port);
    QString errorString() const;

private:
    QString refused_;
};
