#pragma once

#include "data/protocol.h"
#include "data/statusreports.h"

#include <QObject>
#include <QPointer>

#include <cstdio>

class ControllerPresence;
class DatagramSocket;
class MachineData;

// Receives the controller's unsolicited status and needle reports, writes what they carry
// into the machine data's controller state and test blocks, traces each status report and
// tells the screens what changed, one signal per report, in arrival order.
class StatusChannel : public StatusReports
{
    Q_OBJECT

public:
    static constexpr int kReportSize = Protocol::DatagramSize;

    explicit StatusChannel(MachineData &data, QObject *parent = nullptr);

    // Binds both sockets on every local IPv4 address at the offset ports. False when either
    // could not be bound; the other one works regardless.
    bool open();
    bool statusBound() const;
    bool needleBound() const;

    // Where the trace lines go; nullptr silences them. Standard output by default.
    void setTraceStream(std::FILE *stream) { trace_ = stream; }

    // One report as if it had come from the controller. Shorter than 12 bytes: dropped, so no
    // byte of an earlier report is ever taken for part of it; longer: cut to 12. False when
    // dropped.
    bool handleStatus(const unsigned char *bytes, int length);
    bool handleNeedle(const unsigned char *bytes, int length);

    quint64 statusReports() const { return statusCount_; }
    quint64 needleReports() const { return needleCount_; }
    // Datagrams refused: too short, or from an address other than the controller's.
    quint64 dropped() const { return dropped_; }

private:
    void drain(DatagramSocket *socket, bool status);
    void dispatchMachine(const unsigned char *r);
    void dispatchTest(const unsigned char *r);
    void trace(const unsigned char *r);

    MachineData &data_;
    QPointer<ControllerPresence> presence_; // the application's, told of every report
    DatagramSocket *status_;
    DatagramSocket *needle_;
    quint32 controller_ = 0;
    std::FILE *trace_;
    quint64 statusCount_ = 0;
    quint64 needleCount_ = 0;
    quint64 dropped_ = 0;
};
