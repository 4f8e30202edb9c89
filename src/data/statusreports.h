#pragma once

#include <QObject>

// What the controller's unsolicited reports tell, one signal per report in arrival order. The
// receiver in the link layer emits them; the screens, which do not see that layer, connect
// here.
class StatusReports : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

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
    void testReport(int block, int item, int value);
    void needleMoved();
    // Every report waiting on a socket has been handled.
    void drained();
};
