#include "beepingcheckbox.h"

#include "buzzer.h"

BeepingCheckBox::BeepingCheckBox(QWidget *parent, const char *name)
    : BeepingCheckBox(QString(), parent, name)
{
}

BeepingCheckBox::BeepingCheckBox(const QString &text, QWidget *parent, const char *name)
    : QCheckBox(text, parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    connect(this, &QCheckBox::clicked, this, [] { buzzer(kKeyBeepMs); });
}
