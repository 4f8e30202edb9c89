#pragma once

#include <QFrame>

// The column of four on-screen keys beside a file list: "上一页", "上一个", "下一个", "下一页"
// type Page Up, Up, Down and Page Down into the focused list.
class PageKeys : public QFrame
{
    Q_OBJECT

public:
    // Keys 48 wide and keyHeight high, one every step pixels from the frame's top.
    PageKeys(QWidget *parent, const QRect &geometry, int keyHeight, int step);
};
