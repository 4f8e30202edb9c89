#pragma once

#include <QString>

// One row waiting to be written: a state sample of a machine or one of its alarm events. Times
// are knitfleet's receive time in ms since the epoch (t, strictly rising per machine) and the
// panel's clock as it sent it, kept as seconds after t (dt), so a wrong panel clock moves nothing.
struct Record
{
    enum Kind { Sample, Alarm };
    enum Event { Raised = 1, Acknowledged = 2, Cleared = 3 };

    Kind kind = Sample;
    QString machine;
    qint64 t = 0;
    int dt = 0;
    QString job;
    int pieces = 0;
    // Sample
    bool running = false;
    bool online = false;
    int target = 0;
    int alarm = -1; // the standing alarm's code, -1 none
    // Alarm
    int event = 0;
    int type = 0;
    int code = 0;
    int row = 0;
    QString text;
    QString panelTime;
};
