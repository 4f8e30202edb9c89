#pragma once

#include <QObject>
#include <QTimer>

#include <functional>
#include <vector>

class ControlServer;

// `restart MS`: the controller switched off and on again. Each part of the simulator says
// what it does at power off (close its UDP ports, forget what it held only in memory) and at
// power on (open them again); the root and the control port stay as they are.
class PowerCycle : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxOffMs = 600000;

    explicit PowerCycle(QObject *parent = nullptr);

    void add(std::function<void()> off, std::function<void()> on);
    // Off now, on again offMs later; a restart while off keeps it off until the new time.
    void restart(int offMs);
    bool isOn() const { return !timer_.isActive(); }
    // restart MS, and the line "power on|off" of state.
    void registerCommands(ControlServer &control);

private:
    void powerOn();

    struct Part
    {
        std::function<void()> off;
        std::function<void()> on;
    };
    std::vector<Part> parts_;
    QTimer timer_;
};
