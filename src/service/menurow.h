#pragma once

#include <cstddef>

// A service menu's items as one table: row n of column 0 is item n, with its text, key and
// action; a choice is dispatched by its row.
template <class Page>
struct MenuRow
{
    int key;
    const char *text; // translated in the page's context
    void (Page::*action)();
};

template <class Page, std::size_t N>
void dispatchMenu(Page *page, const MenuRow<Page> (&rows)[N], int column, int row)
{
    // By a walk over the rows rather than an index: GCC's sanitizer builds took the indexed
    // member call for a read of an uninitialised row.
    int at = 0;
    for (const MenuRow<Page> &item : rows) {
        if (column == 0 && at++ == row) {
            (page->*item.action)();
            return;
        }
    }
}
