#include "qpanelbutton.h"

#include "buzzer.h"

QPanelButton::QPanelButton(QWidget *parent, const char *name)
    : QPanelButton(QString(), parent, name)
{
}

QPanelButton::QPanelButton(const QString &text, QWidget *parent, const char *name)
    : QPushButton(text, parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
    connect(this, &QPushButton::released, this, [] { buzzer(kKeyBeepMs); });
}
