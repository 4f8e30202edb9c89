#pragma once

// Picks a KNIT_PORT_OFFSET whose ports (69, 2001, 2700, 2800, 2900, 3000 plus the offset) are
// all free on loopback right now and sets it in this process's environment, so tests can run
// side by side.
class PortOffset
{
public:
    static int useFree();
};
