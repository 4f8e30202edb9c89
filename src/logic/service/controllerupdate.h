#pragma once

#include "data/protocol.h"

#include <QString>

#include <functional>

class MachineData;

// The controller's update mode as the update pages use it: entering it for one controller,
// leaving it, and waiting while the controller programs an image it was sent. Every wait is
// bounded, so a controller that is switched off never holds the panel for good.
class ControllerUpdate
{
public:
    static constexpr int kMaster = Protocol::MasterUpdate;
    static constexpr int kSlave = Protocol::SlaveUpdate;
    static constexpr int kProgrammingMs = 120000;

    // The object's update opened: true when the controller answered.
    static bool enter(int object);
    // Its update closed, tried until answered, at most UpdateBracket::kTries times.
    static bool leave(int object);
    // The controller answers the closing command once it has programmed the image: tried
    // until it does, at most kProgrammingMs (scaled); paint runs between tries so the screen
    // stays drawn.
    static bool waitProgrammed(int object, const std::function<void()> &paint);

    // The versions the update menu shows, from data's controller state: the main controller's
    // bytes 30-32 as numbers with "." between them and bytes 33-35 as its edition letters; the
    // slave's byte 39 "." byte 38.
    static QString masterVersion(const MachineData &data);
    static QString slaveVersion(const MachineData &data);
};
