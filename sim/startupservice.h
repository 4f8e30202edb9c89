#pragma once

#include <QString>

class ControlServer;
class SimState;

// What the panel reads at start-up from the running-state block file.knt: the current job's
// name (offset 40, zero-ended) and single bytes such as 26 (the group to close) and 29 (do not
// send the job), set from the control protocol.
class StartupService
{
public:
    explicit StartupService(SimState *state);

    // `set job NAME` (the rest of the line, sent as GBK when it has a GBK form) and
    // `set knt OFFSET VALUE` (a byte of the block).
    void registerCommands(ControlServer &control);

    bool setJob(const QString &name, QString *error);
    bool setKntByte(int offset, int value, QString *error);

private:
    SimState *state_;
};
