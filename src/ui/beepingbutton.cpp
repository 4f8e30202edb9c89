#include "beepingbutton.h"

#include "buzzer.h"

BeepingButton::BeepingButton(QWidget *parent, const char *name)
    : BeepingButton(QString(), parent, name)
{
}

BeepingButton::BeepingButton(const QString &text, QWidget *parent, const char *name)
    : QPushButton(text, parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    connect(this, &QPushButton::released, this, [] { buzzer(kKeyBeepMs); });
}
