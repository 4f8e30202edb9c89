#pragma once

#include <QTreeWidget>

// A multi-column list that beeps when an item is pressed and after the keys that move through
// it (Home, End, Up, Down, Page Up, Page Down).
class BeepingListView : public QTreeWidget
{
    Q_OBJECT

public:
    explicit BeepingListView(QWidget *parent = nullptr, const char *name = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
