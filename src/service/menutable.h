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
    if (column == 0 && row >= 0 && std::size_t(row) < N)
        (page->*rows[row].action)();
}
