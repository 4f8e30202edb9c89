#pragma once

#include "reportsender.h"
#include "testmodestate.h"

#include <QObject>
#include <QTimer>

class ControlServer;
class FaultLayer;
class SimState;

// knitsim's test modes at work: keeps io.tst and moto.tst in its root, answers the datagrams
// of the modes through TestModeState, moves the carriage while the input/output test drives
// it (needle reports and the carriage speed, until it is stopped), and takes the control verbs
// that make the machine report by itself.
class TestModes : public QObject
{
    Q_OBJECT

public:
    static constexpr int kCarriageMs = 40;

    TestModes(SimState *state, QObject *parent = nullptr);

    // Writes io.tst and moto.tst when missing or of the wrong size, keeping what a former run
    // left, and opens the report socket on the fault layer's network. False, with a reason,
    // otherwise.
    bool open(FaultLayer *network, QString *error);
    // Power off: the mode left, the carriage stopped, the report socket closed; power on opens it.
    void powerOff();
    void powerOn();
    // For CommandServer::addHandler.
    bool handle(const QByteArray &datagram, QByteArray *answer);
    // test input, test report, test moto, test end, fault test silent|entry, and the mode and
    // outputs in state.
    void registerCommands(ControlServer &control);

    const TestModeState &modes() const { return modes_; }

private:
    void save();
    void followCarriage();
    void moveCarriage();
    void testReport(int block, int item, int value);

    SimState *state_;
    TestModeState modes_;
    ReportSender sender_;
    QTimer carriage_;
    unsigned short pulses_ = 0;
    int needle_ = 0;
};
