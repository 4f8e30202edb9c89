#pragma once

#include "menugrid.h"

class ListButtonNo;

// The two-column menu whose items can be marked active (ListButtonNo items), shown in the
// button-text palette while focused.
class MarkableListMenu : public MenuGrid
{
    Q_OBJECT

public:
    explicit MarkableListMenu(QWidget *parent = nullptr, const char *name = nullptr);

    ListButtonNo *itemNo(int column, int row) const;
};
