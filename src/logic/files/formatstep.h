#pragma once

#include <QStringList>

#include <functional>

// One step of a formatting chain: it adds its log lines and returns how many milliseconds
// until the next step starts, or kEnd when the chain stops (at its end or at a failure).
struct FormatStep
{
    static constexpr int kEnd = -1;
    static constexpr int kPauseMs = 500;

    const char *name;
    std::function<int(QStringList &log)> run;
};
