#include "mybutton.h"

#include "buzzer.h"

MYBUTTON::MYBUTTON(QWidget *parent, const char *name)
    : MYBUTTON(QString(), parent, name)
{
}

MYBUTTON::MYBUTTON(const QString &text, QWidget *parent, const char *name)
    : QPushButton(text, parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    connect(this, &QPushButton::released, this, [] { buzzer(kKeyBeepMs); });
}
