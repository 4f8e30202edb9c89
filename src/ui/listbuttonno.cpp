#include "listbuttonno.h"

#include "panelpalettes.h"

ListButtonNo::ListButtonNo(QWidget *parent, const char *name)
    : QPushButton(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setAutoDefault(false);
}

void ListButtonNo::setActive(unsigned char active)
{
    active_ = active;
    if (hasFocus())
        showFocused();
}

void ListButtonNo::showFocused()
{
    setPalette(active_ ? PanelPalettes().buttonText() : PanelPalettes().labelDark());
}

void ListButtonNo::focusInEvent(QFocusEvent *event)
{
    if (!focused_)
        unfocused_ = palette();
    focused_ = true;
    showFocused();
    QPushButton::focusInEvent(event);
}

void ListButtonNo::focusOutEvent(QFocusEvent *event)
{
    if (focused_)
        setPalette(unfocused_);
    focused_ = false;
    QPushButton::focusOutEvent(event);
}
