#pragma once

#include <QSpinBox>

// A spin box that beeps when its value changes.
class MySpinBox : public QSpinBox
{
    Q_OBJECT

public:
    explicit MySpinBox(QWidget *parent = nullptr, const char *name = nullptr);
};
