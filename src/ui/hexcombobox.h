#pragma once

#include <QComboBox>

// A combo box for hexadecimal choices that beeps when an entry is activated and after every
// key from "0" to "F" of the keypad's range (codes 48-70).
class HexComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit HexComboBox(QWidget *parent = nullptr, const char *name = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
