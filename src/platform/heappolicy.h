#pragma once

class QObject;

// How the process's allocator hands memory back to the system. The panel runs for months and
// now and then holds a job's megabyte-sized files or a big page's rows for a moment (a
// transfer, a preview, the program editor): that memory must go back when freed, not stay as
// the heap's high-water mark.
class HeapPolicy
{
public:
    // Large blocks mapped apart and the heap's free top trimmed at fixed sizes; true when the
    // allocator took both. Call first in main, before the first thread.
    static bool apply();
    // From now on, every kTrimMs on owner's thread, the free pages inside the heap go back
    // too (the top alone is trimmed on free; pages between held blocks are not).
    static void trimPeriodically(QObject *owner);
    // Once the event loop takes its next turn: what a burst of work (the start-up's transfers
    // and files) freed goes back before the panel settles, not at the next period.
    static void trimSoon();

    // Above this a block is mapped on its own and unmapped when freed; a free heap top over it
    // goes back too.
    static const int kLargeBytes = 128 * 1024;
    static const int kTrimMs = 30000;
};
