#include "listmenu.h"

#include "listbutton.h"

ListMenu::ListMenu(QWidget *parent, const char *name)
    : MenuGrid(parent, name, [](QWidget *p) { return new ListButton(p); })
{
}
