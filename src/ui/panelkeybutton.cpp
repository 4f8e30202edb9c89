#include "panelkeybutton.h"

#include "buzzer.h"

PanelKeyButton::PanelKeyButton(QWidget *parent, const char *name)
    : PanelKeyButton(QString(), parent, name)
{
}

PanelKeyButton::PanelKeyButton(const QString &text, QWidget *parent, const char *name)
    : QPushButton(text, parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
    connect(this, &QPushButton::released, this, [] { buzzer(kKeyBeepMs); });
}
