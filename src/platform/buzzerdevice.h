#pragma once

// The buzzer device: /dev/buzzer on the panel, $KNIT_ROOT/dev/buzzer (a plain file) in a host
// build. KNIT_BUZZER=off keeps it closed, so every beep is silent and takes no time.
class BuzzerDevice
{
public:
    static bool open();          // opens once for reading and writing; false if absent
    static bool isOpen();
    static void write16(unsigned short value); // one 2-byte write
    static void close();
};
