#pragma once

#include <QObject>

class MachineData;
class StatusChannel;
class StatusProbe;

// The controller's status as the main screen follows it: the unsolicited status and needle
// reports, written into the machine data and told one signal per report in arrival order, and,
// while the panel is offline, the status query that notices the controller's return.
class ControllerStatus : public QObject
{
    Q_OBJECT

public:
    explicit ControllerStatus(MachineData &data, QObject *parent = nullptr);

    // Binds the report ports and starts the offline query. A port that cannot be bound leaves
    // its reports unread.
    void start();
    // The reports' receiver, for the tests and benchmarks that feed or count reports.
    StatusChannel *channel() const { return channel_; }

Q_SIGNALS:
    void zeroingStarted();
    void machineStarted(int state); // 2 or 3, the running indicator's state
    void machineStopped();
    // row: the row word with bit 15 cleared; cancelMessage: bit 15 has just gone.
    void rowReport(unsigned short row, bool cancelMessage);
    void alarmRaised(unsigned char type, unsigned char code);
    void alarmCleared();
    void zeroingFinished();
    void knittingTime(unsigned short first, unsigned short second);
    void stopTime(unsigned short first, unsigned short second);
    void loopRows(unsigned short start, unsigned short end);
    void loopCounts(unsigned short count, unsigned short remaining);
    void needleMoved();
    // Every report waiting on a socket has been handled.
    void drained();
    // While offline, the controller answered the status query: running unless it stands.
    void answeredOffline(bool running);

private:
    StatusChannel *channel_;
    StatusProbe *probe_ = nullptr;
};
