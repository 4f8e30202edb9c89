#pragma once

#include "data/protocol.h"

#include <QString>

#include <functional>

class MachineData;

// The handshake that puts the controller into one of its test modes and loads the test's
// current values from its file (/io.tst, /moto.tst), and the leave that undoes it when the
// values cannot be had.
class TestEntry
{
public:
    enum Result { Entered = 0, Running = 1, Refused = 2, NotFetched = 3, NotWhole = 4 };
    // Fetches the controller's file of the given name into the given local path.
    using Fetch = std::function<bool(const QString &localPath)>;

    // Entered: the controller is in the mode and data's test block holds its file. Running and
    // Refused leave the controller as it was; after NotFetched and NotWhole it is in the mode
    // and must be told to leave.
    static Result enter(MachineData &data, Protocol::TestKind test, const Fetch &fetch);
    // The leave command until the controller answers it, at most UpdateBracket::kTries times (a
    // controller that is off must not hold the panel for good); false when it never did.
    static bool leave(Protocol::TestKind test);
    // "进入测试界面失败-N, 请重试 !"
    static QString failureText(Result result);
};
