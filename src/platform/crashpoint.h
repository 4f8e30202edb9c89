#pragma once

// Ends the process at the k-th file-system step that changes the disk when KNIT_CRASH_AT=k is
// set, so a crash test can cut every save off at each of its steps in turn. Unset (always, in
// use) a step costs one load of a number read once.
class CrashPoint
{
public:
    // The exit status of a process ended here, apart from every status the programs use.
    static constexpr int kExitCode = 86;

    // what: the step about to run ("open", "write", "fsync", "rename"), told on stderr.
    static void step(const char *what);
};
