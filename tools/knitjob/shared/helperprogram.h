#pragma once

// Runs one of knitjob's helper programs (knitjob-full, knitjob-library) in this process's place.
class HelperProgram
{
public:
    // path: relative to this program's own folder. Returns only when the program could not be
    // run, after one line on standard error; the status then.
    static int exec(const char *path, char **argv);
};
