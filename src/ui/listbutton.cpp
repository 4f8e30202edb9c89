#include "listbutton.h"

#include "panelpalettes.h"

ListButton::ListButton(QWidget *parent, const char *name)
    : QPushButton(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setAutoDefault(false);
}

void ListButton::focusInEvent(QFocusEvent *event)
{
    if (!focused_)
        unfocused_ = palette();
    focused_ = true;
    setPalette(PanelPalettes().labelDark());
    QPushButton::focusInEvent(event);
}

void ListButton::focusOutEvent(QFocusEvent *event)
{
    if (focused_)
        setPalette(unfocused_);
    focused_ = false;
    QPushButton::focusOutEvent(event);
}
