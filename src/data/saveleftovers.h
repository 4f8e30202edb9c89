#pragma once

// Puts the data disk right after saves that a crash or a power cut cut off, before start-up
// reads anything: removes the temporary files of whole-file saves from the data root, para/,
// log/, the job directory and every job folder, and what a cut-off program update left beside
// the program, and cuts a torn last line off every log.
class SaveLeftovers
{
public:
    static void clear();
};
