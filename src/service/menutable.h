#pragma once

#include <QString>

#include <cstddef>

// A service menu's items as one table: each row's text on column 0 with its key, and the
// choice dispatched to the first row whose words the chosen text contains.
template <class Page>
struct MenuRow
{
    int key;
    const char *match; // the words the choice is recognised by
    void (Page::*action)();
};

template <class Page, std::size_t N>
void dispatchMenu(Page *page, const MenuRow<Page> (&rows)[N], const QString &text)
{
    for (const MenuRow<Page> &row : rows) {
        if (text.contains(QString::fromUtf8(row.match))) {
            (page->*row.action)();
            return;
        }
    }
}
