#pragma once

#include "ui/listmenu.h"

#include <QPushButton>
#include <QString>

// Chooses the item of the menu that shows text, as a touch on it does; false when none shows it.
inline bool chooseShown(const MenuGrid *menu, const QString &text)
{
    for (int c = 0; c < MenuGrid::kColumns; ++c) {
        for (int r = 0; r < MenuGrid::kRows; ++r) {
            if (QPushButton *item = menu->item(c, r); item && item->text() == text) {
                item->click();
                return true;
            }
        }
    }
    return false;
}
