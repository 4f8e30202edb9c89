#pragma once

#include <QSpinBox>

// A spin box that beeps when its value changes.
class BeepingSpinBox : public QSpinBox
{
    Q_OBJECT

public:
    explicit BeepingSpinBox(QWidget *parent = nullptr, const char *name = nullptr);
};
