#pragma once

#include <functional>

// The controller commands the two editors send, held as functions so their logic can run
// against a recorded link: the update bracket of a group, a row command and the carriage's
// status.
struct EditorLink
{
    std::function<bool(int group, bool open)> bracket;
    std::function<bool(unsigned short arg1, unsigned short arg2, unsigned char value)> row;
    std::function<unsigned int()> motoStatus;

    // The real commands: the update bracket, sendRowCommand, queryCarriageStatus.
    static EditorLink controller();
    // Opens the group's update, one try. Unanswered, it sends one close: the opening may have
    // reached the controller and only its answer been lost, and an update left open there
    // would take the group's values from anyone.
    bool open(int group) const;
    // Closes the group's update, trying until answered, at most UpdateBracket::kTries times.
    bool closeRetrying(int group) const;
};
