#pragma once

#include <QString>

// One row waiting to be written: a state sample of a machine, one of its alarm events, or a stop
// as it stands now (written again as it ends, sees an alarm or gets a reason). Times are
// knitfleet's receive time in ms since the epoch (t, strictly rising per machine) and the
// panel's clock as it sent it, kept as seconds after t (dt), so a wrong panel clock moves nothing.
struct Record
{
    enum Kind { Sample, Alarm, Stop };
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
    int alarm = -1; // the standing alarm's code, -1 none; Stop: >= 0 when an alarm stood in it
    // Alarm; Stop: its reason's code (-1 none), text and the panel's time of the pick
    int event = 0;
    int type = 0;
    int code = 0;
    int row = 0;
    QString text;
    QString panelTime;
    // Stop: t is its start, end its end (kOpen while it stands)
    static constexpr qint64 kOpen = 9000000000000000000LL;
    qint64 end = kOpen;
    bool planned = false;
};
