#pragma once

#include <QList>

#include <functional>

class QWidget;

// A page's keys as one table: each row's keys start its action after the key beep. They are
// shortcuts of the page's window, so a focused list does not take the letters for itself, a
// page without a focusable field still has its keys, and a dialog opened over the page (a
// window of its own) does not see them.
class KeyTable
{
public:
    struct Row
    {
        QList<int> keys;
        std::function<void()> action;
    };

    // The keys of a button labelled "Fn.": the function key and its keypad letter (F1 and A …
    // F8 and H).
    static QList<int> function(int n);
    static void install(QWidget *page, const QList<Row> &rows);
};
