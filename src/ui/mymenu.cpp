#include "mymenu.h"

#include "listbutton.h"

MyMenu::MyMenu(QWidget *parent, const char *name)
    : MenuGrid(parent, name, [](QWidget *p) { return new ListButton(p); })
{
}
