#pragma once

#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>

class FaultLayer;

// Sends the controller's unsolicited reports to the panel: status reports to port 2001 and
// needle reports to port 2700 (plus the offset), from the loopback controller address,
// through the fault layer's network.
class ReportSender : public QObject
{
    Q_OBJECT

public:
    ReportSender();

    // Binds an ephemeral port on from. faults may be null: a perfect network.
    bool open(const QHostAddress &from, const QHostAddress &panel, FaultLayer *faults = nullptr);
    // Closed, as at power off, and bound again (to a new port) as at power on.
    void close();
    bool reopen();
    void status(unsigned char code, unsigned short a, unsigned short b);
    void alarm(unsigned char type, unsigned char code);
    void needle(unsigned short pulses, int position);
    quint64 sent() const { return sent_; }

    // The 12 bytes of a machine report: code in byte 5, A in 6-7, B in 8-9 (low byte first).
    static QByteArray machineReport(unsigned char code, unsigned short a, unsigned short b);
    // Any datagram to a panel port (the base port; the offset is added).
    void send(const QByteArray &bytes, quint16 basePort);

private:
    QUdpSocket socket_;
    QHostAddress from_;
    QHostAddress panel_;
    FaultLayer *faults_ = nullptr;
    quint64 sent_ = 0;
};
