#pragma once

#include <QTabWidget>

// A tab widget that beeps when the page changes.
class BeepingTabWidget : public QTabWidget
{
    Q_OBJECT

public:
    explicit BeepingTabWidget(QWidget *parent = nullptr, const char *name = nullptr);
};
