#pragma once

#include "menugrid.h"

// The two-column menu whose focused item shows the dark label palette (ListButton items).
class ListMenu : public MenuGrid
{
    Q_OBJECT

public:
    explicit ListMenu(QWidget *parent = nullptr, const char *name = nullptr);
};
