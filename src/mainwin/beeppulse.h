#pragma once

#include <QObject>
#include <QTimer>

// Sounds the buzzer for a time without holding the GUI thread: the off-write is left to a
// timer, so alarm flashing and report beeps never make reports wait behind them. The main
// window has one; a new beep while one sounds lengthens it to the later end.
class BeepPulse : public QObject
{
    Q_OBJECT

public:
    explicit BeepPulse(QObject *parent = nullptr);

    void start(int ms);
    bool isSounding() const { return off_.isActive(); }

private:
    void stop();

    QTimer off_;
};
