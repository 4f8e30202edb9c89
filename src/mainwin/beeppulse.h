#pragma once

#include <QObject>
#include <QTimer>

// Sounds the buzzer for a time without holding the GUI thread: the off-write is left to a
// timer, so alarm flashing and report beeps never make reports wait behind them.
class BeepPulse : public QObject
{
    Q_OBJECT

public:
    // The process's one pulse; a new beep while one sounds lengthens it to the later end.
    static BeepPulse &instance();
    static void beep(int ms) { instance().start(ms); }

    void start(int ms);
    bool isSounding() const { return off_.isActive(); }

private:
    BeepPulse();
    void stop();

    QTimer off_;
};
