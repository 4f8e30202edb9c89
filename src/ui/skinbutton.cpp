#include "skinbutton.h"

SkinButton::SkinButton(const QString &text, QWidget *parent, const char *name)
    : QPushButton(text, parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
}
