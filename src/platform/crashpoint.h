#pragma once

// A point before every file-system step that changes the disk. The programs' definition does
// nothing; the crash tests link one of their own in its place (tests/crash/crashpoint.cpp) that
// ends the process at the k-th step when KNIT_CRASH_AT=k is set, so they can cut every save off
// at each of its steps in turn. No count or setting of theirs lives in the programs.
class CrashPoint
{
public:
    // The exit status of a process ended here, apart from every status the programs use.
    static constexpr int kExitCode = 86;

    // what: the step about to run ("open", "write", "fsync", "rename").
    static void step(const char *what);
};
