#pragma once

#include <QLineEdit>

// A line edit that beeps on every change the operator makes to its text.
class CellEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit CellEdit(QWidget *parent = nullptr, const char *name = nullptr);
};
