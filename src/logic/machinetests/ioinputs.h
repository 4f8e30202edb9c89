#pragma once

#include <QString>

// The 26 inputs of the input/output test in block order, and how a reported state reads:
// closed (red) or open (dark green), with the two ready signals reversed.
class IoInputs
{
public:
    static constexpr int kCount = 26;

    static QString name(int input); // empty outside 0-25
    // "<font color = red>闭合" or "<font color = darkGreen>断开". 0 is open and any other value
    // closed; the main motor's and the racking motor's ready signals (inputs 1 and 3) read the
    // other way round.
    static QString state(int input, int value);
    // The code the page shows for a pressed key: letters and digits as they are, the special
    // keys numbered from 4096 (Escape 4096, Enter 4101, F1 4144).
    static int keyCode(int key);
};
