#pragma once

#include <QString>
#include <Qt>

// Posts keypad keys to the focused widget, so an on-screen key acts only through the page's
// own key handling.
class KeyInjection
{
public:
    // The keypad's keys: digits, "-", the keypad Enter, the letters A-H and M, Page Up/Down,
    // the arrows and Backspace.
    static bool injectable(int key);
    // The character a keypad key carries ("\r" for Enter); empty for keys without one.
    static QString text(int key);
    // Posts the press and release of a keypad key to QApplication::focusWidget(); false when
    // the key is not a keypad key or nothing has the focus.
    static bool post(int key);
};
