#include "reportsender.h"

#include "faultlayer.h"

#include "platform/panelenv.h"

ReportSender::ReportSender() = default;

bool ReportSender::open(const QHostAddress &from, const QHostAddress &panel, FaultLayer *faults)
{
    from_ = from;
    panel_ = panel;
    faults_ = faults;
    return socket_.bind(from, 0);
}

void ReportSender::close()
{
    socket_.close();
}

bool ReportSender::reopen()
{
    return socket_.state() == QAbstractSocket::BoundState || socket_.bind(from_, 0);
}

QByteArray ReportSender::machineReport(unsigned char code, unsigned short a, unsigned short b)
{
    QByteArray r(12, '\0');
    r[5] = char(code);
    r[6] = char(a & 0xff);
    r[7] = char(a >> 8);
    r[8] = char(b & 0xff);
    r[9] = char(b >> 8);
    return r;
}

void ReportSender::status(unsigned char code, unsigned short a, unsigned short b)
{
    send(machineReport(code, a, b), 2001);
}

void ReportSender::alarm(unsigned char type, unsigned char code)
{
    send(machineReport(21, 1, static_cast<unsigned short>(code | (type << 8))), 2001);
}

void ReportSender::needle(unsigned short pulses, int position)
{
    send(machineReport(0, pulses, static_cast<unsigned short>(position + 500)), 2700);
}

void ReportSender::send(const QByteArray &bytes, quint16 basePort)
{
    const quint16 port = PanelEnv::port(basePort);
    FaultLayer::transmit(faults_, FaultLayer::Reports, this, bytes, [this, port](const QByteArray &b) {
        if (socket_.writeDatagram(b, panel_, port) == b.size())
            ++sent_;
    });
}
