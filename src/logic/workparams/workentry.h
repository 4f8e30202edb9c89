#pragma once

#include "data/protocol.h"

#include <QList>
#include <QString>

#include <functional>

class MachineData;

// What a work-parameter page sends: one value to one or more indexes of a group, within the
// controller's update bracket and only while the carriage stands. The panel's copy (data's
// work block, its system block for group 1) changes index by index as the controller takes
// each value.
class WorkEntry
{
public:
    enum Result { Stored, OutOfRange, Running, OpenRefused, Refused, CloseRefused };

    static constexpr int kSystemGroup = Protocol::SystemGroup;

    // Unsigned decimal digits within min-max.
    static bool parse(const QString &text, int min, int max, unsigned short *value);
    // Sends value to each address in turn, stopping at the first refusal; opened runs once the
    // update is open (the page's "changed" flag). The close is tried a bounded number of times.
    static Result send(MachineData &data, int group, const QList<int> &addresses, unsigned short value,
                       const std::function<void()> &opened = {});
    // The operator's message for a result; null for Stored.
    static QString message(Result result);
};
