#pragma once

#include <QCoreApplication>
#include <QString>

// What the panel knows of the machine: the one notion of running that the running indicator,
// the telemetry and the start picture show. Unknown until the controller first tells; then
// knitting or stopped as its status query and its reports say; offline while it does not
// answer, whatever it last said.
class MachineState
{
    Q_DECLARE_TR_FUNCTIONS(MachineState)

public:
    enum class Kind { Unknown, Stopped, Knitting, Offline };

    // setSpeed's states: 1 stopped, 2 or 3 knitting; any other changes nothing. True when
    // what the state shows changed.
    bool setSpeedState(int state);
    bool setOffline(bool offline);

    Kind kind() const;
    // Knitting as far as the panel can tell: never while offline.
    bool running() const { return kind() == Kind::Knitting; }
    bool offline() const { return offline_; }

    // The start picture's words for a kind.
    static QString text(Kind kind);

private:
    bool known_ = false;
    bool running_ = false;
    bool offline_ = false;
};
