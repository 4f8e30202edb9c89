#pragma once

#include "panelkeybutton.h"

// An on-screen button standing for one keypad key: when released it posts that key's press
// and release to the focused widget, as if typed on the keypad.
class KeypadKeyButton : public PanelKeyButton
{
    Q_OBJECT

public:
    KeypadKeyButton(QWidget *parent, const char *name, int key);

    int key() const { return key_; }
    // Posts the key to the focus widget: Page Up/Down, Up, Down, Backspace or M. False for any
    // other key or when nothing has the focus.
    bool inject() const;

private:
    int key_;
};
