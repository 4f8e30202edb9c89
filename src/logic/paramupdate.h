#pragma once

// The parameter-update bracket of a group (command 0x20): the controller takes the group's
// values only while its update is open.
class ParamUpdate
{
public:
    // A close "repeated until it succeeds" gives up after this many tries, so a controller
    // that is off never freezes the panel for good.
    static constexpr int kCloseTries = 10;

    static bool open(int group);
    static bool close(int group);
    static bool closeRetrying(int group);
    static bool openRetrying(int group);
};
