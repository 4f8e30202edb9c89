#pragma once

#include "qpanelbutton.h"

// An on-screen button standing for one keypad key: when released it posts that key's press
// and release to the focused widget, as if typed on the keypad.
class multibutton : public QPanelButton
{
    Q_OBJECT

public:
    multibutton(QWidget *parent, const char *name, int key);

    int key() const { return key_; }
    // Posts the key to the focus widget: Page Up/Down, Up, Down, Backspace or M. False for any
    // other key or when nothing has the focus.
    bool inject() const;

private:
    int key_;
};
