#include "beepingspinbox.h"

#include "buzzer.h"

BeepingSpinBox::BeepingSpinBox(QWidget *parent, const char *name)
    : QSpinBox(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    connect(this, &QSpinBox::valueChanged, this, [] { buzzer(kKeyBeepMs); });
}
