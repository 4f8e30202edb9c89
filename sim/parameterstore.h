#pragma once

#include <QtGlobal>

class SimState;

// Where the setting pages' values land in the blocks the simulator serves, beyond groups 1
// and 32: system parameters (group 0), density motors (7), the racking table (8), the carriage
// acceleration control (10) in file.sys, the carrier-speed table (16) in speed.mth, and the
// piece target and the clearing of the completed pieces (actions 6 and 7) in file.knt. So the
// panel's next start finds the controller's blocks as the panel left its copies.
class ParameterStore
{
public:
    static constexpr int kSystemWord = 30;
    static constexpr int kAccelerationWord = 138;

    static void setValue(SimState &state, int group, int index, quint16 value);
    static void setAction(SimState &state, int code, quint16 argument);
};
