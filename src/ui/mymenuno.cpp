#include "mymenuno.h"

#include "listbuttonno.h"

MyMenuNo::MyMenuNo(QWidget *parent, const char *name)
    : MenuGrid(parent, name, [](QWidget *p) { return new ListButtonNo(p); })
{
}

ListButtonNo *MyMenuNo::itemNo(int column, int row) const
{
    return static_cast<ListButtonNo *>(item(column, row));
}
