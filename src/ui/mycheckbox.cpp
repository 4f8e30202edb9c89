#include "mycheckbox.h"

#include "buzzer.h"

MYCHECKBOX::MYCHECKBOX(QWidget *parent, const char *name)
    : MYCHECKBOX(QString(), parent, name)
{
}

MYCHECKBOX::MYCHECKBOX(const QString &text, QWidget *parent, const char *name)
    : QCheckBox(text, parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    connect(this, &QCheckBox::clicked, this, [] { buzzer(kKeyBeepMs); });
}
