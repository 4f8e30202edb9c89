#include "reportsender.h"

#include "faultlayer.h"

#include "data/protocol.h"
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
    QByteArray r(Protocol::DatagramSize, '\0');
    r[Protocol::ObjectByte] = char(code);
    r[Protocol::FirstValueByte] = char(a & 0xff);
    r[Protocol::FirstValueByte + 1] = char(a >> 8);
    r[Protocol::SecondValueByte] = char(b & 0xff);
    r[Protocol::SecondValueByte + 1] = char(b >> 8);
    return r;
}

void ReportSender::status(unsigned char code, unsigned short a, unsigned short b)
{
    send(machineReport(code, a, b), Protocol::StatusPort);
}

void ReportSender::alarm(unsigned char type, unsigned char code)
{
    send(machineReport(Protocol::AlarmReport, Protocol::ReportValid, static_cast<unsigned short>(code | (type << 8))),
         Protocol::StatusPort);
}

void ReportSender::needle(unsigned short pulses, int position)
{
    send(machineReport(0, pulses, static_cast<unsigned short>(position + Protocol::NeedleZero)), Protocol::NeedlePort);
}

void ReportSender::send(const QByteArray &bytes, quint16 basePort)
{
    const quint16 port = PanelEnv::port(basePort);
    FaultLayer::transmit(faults_, FaultLayer::Reports, this, bytes, [this, port](const QByteArray &b) {
        if (socket_.writeDatagram(b, panel_, port) == b.size())
            ++sent_;
    });
}
