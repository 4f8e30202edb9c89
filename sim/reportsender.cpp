#include "reportsender.h"

#include "platform/panelenv.h"

ReportSender::ReportSender() = default;

bool ReportSender::open(const QHostAddress &from, const QHostAddress &panel)
{
    panel_ = panel;
    return socket_.bind(from, 0);
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
    if (socket_.writeDatagram(bytes, panel_, PanelEnv::port(basePort)) == bytes.size())
        ++sent_;
}
