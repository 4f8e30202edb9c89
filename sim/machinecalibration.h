#pragma once

#include "reportsender.h"

#include <QByteArray>

class ControlServer;

// The carriage and racking as the calibration pages meet them: a racking move (0x22 group 8,
// index 256 + n) is answered only once the racking got there, and a test or trainer moves the
// carriage by hand with `needle PULSES POSITION`, so the system page can teach positions.
class MachineCalibration
{
public:
    static constexpr int kDefaultRackingMs = 500;
    static constexpr int kMaxRackingMs = 60000;

    bool open(QString *error);
    // `set racking MS` and `needle PULSES POSITION`.
    void registerCommands(ControlServer &control);
    // How long the answer to this datagram waits: the racking's travel for a move, else 0.
    int replyDelayMs(const QByteArray &datagram) const;

private:
    ReportSender sender_;
    int rackingMs_ = kDefaultRackingMs;
};
