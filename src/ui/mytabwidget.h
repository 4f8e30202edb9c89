#pragma once

#include <QTabWidget>

// A tab widget that beeps when the page changes.
class MyTabWidget : public QTabWidget
{
    Q_OBJECT

public:
    explicit MyTabWidget(QWidget *parent = nullptr, const char *name = nullptr);
};
