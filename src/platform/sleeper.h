#pragma once

// Blocking waits for the GUI thread that sleep in the kernel instead of spinning on a clock.
class Sleeper
{
public:
    static void sleepMs(int ms); // nanosleep, resumed after signals until the time is up
};
