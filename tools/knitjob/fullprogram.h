#pragma once

// Runs knitjob-full in this process's place: <directory of this program>/../lib/knitpanel.
class FullProgram
{
public:
    // Returns only when it could not be run, after one line on standard error; the status then.
    static int exec(char **argv);
};
