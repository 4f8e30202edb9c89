#include "markablelistmenu.h"

#include "listbuttonno.h"

MarkableListMenu::MarkableListMenu(QWidget *parent, const char *name)
    : MenuGrid(parent, name, [](QWidget *p) { return new ListButtonNo(p); })
{
}

ListButtonNo *MarkableListMenu::itemNo(int column, int row) const
{
    return static_cast<ListButtonNo *>(item(column, row));
}
