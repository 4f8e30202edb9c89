#pragma once

#include <QListWidget>

// A one-column list that beeps when its current item changes and selects items directly by
// the keypad: "1"-"9" the first nine, "0" the tenth, "A"-"F" the eleventh to sixteenth.
class KeypadListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit KeypadListBox(QWidget *parent = nullptr, const char *name = nullptr);

    // The row a direct-selection key stands for, -1 for other keys.
    static int directRow(int key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
