#include "tftparrival.h"

void receiveTftp(TftpSocket &socket, char (&buffer)[TftpPacket::kMaxPacket], FaultLayer *network,
                 const std::function<void(const TftpArrival &)> &take)
{
    TftpArrival arrival;
    int n;
    while ((n = socket.receive(buffer, int(sizeof buffer), &arrival.address, &arrival.port)) >= 0) {
        arrival.bytes = QByteArray(buffer, qMin(n, int(sizeof buffer)));
        if (n > int(sizeof buffer) || (network && !network->admit(FaultLayer::Tftp, arrival.bytes)))
            continue;
        arrival.view = TftpPacket::parse(buffer, n);
        take(arrival);
    }
}
