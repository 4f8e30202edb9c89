#include "keypadkeybutton.h"

#include "keyinjection.h"

KeypadKeyButton::KeypadKeyButton(QWidget *parent, const char *name, int key)
    : PanelKeyButton(parent, name)
    , key_(key)
{
    connect(this, &QPushButton::released, this, [this] { inject(); });
}

bool KeypadKeyButton::inject() const
{
    // The page keys beside lists and tables; digits, Enter and letters are the key panels'.
    switch (key_) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Backspace:
    case Qt::Key_M:
        return KeyInjection::post(key_);
    default:
        return false;
    }
}
