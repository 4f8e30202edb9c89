#include "multibutton.h"

#include "keyinjection.h"

multibutton::multibutton(QWidget *parent, const char *name, int key)
    : QPanelButton(parent, name)
    , key_(key)
{
    connect(this, &QPushButton::released, this, [this] { inject(); });
}

bool multibutton::inject() const
{
    return KeyInjection::post(key_);
}
