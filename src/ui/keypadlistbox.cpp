#include "keypadlistbox.h"

#include "buzzer.h"

#include <QKeyEvent>

KeypadListBox::KeypadListBox(QWidget *parent, const char *name)
    : QListWidget(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    connect(this, &QListWidget::currentRowChanged, this, [] { buzzer(kKeyBeepMs); });
}

int KeypadListBox::directRow(int key)
{
    if (key >= Qt::Key_1 && key <= Qt::Key_9)
        return key - Qt::Key_1;
    if (key == Qt::Key_0)
        return 9;
    if (key >= Qt::Key_A && key <= Qt::Key_F)
        return 10 + key - Qt::Key_A;
    return -1;
}

void KeypadListBox::keyPressEvent(QKeyEvent *event)
{
    QListWidget::keyPressEvent(event);
    const int row = directRow(event->key());
    if (row < 0)
        return;
    // A key past the last item would clear the current item; it leaves the list as it is.
    if (row < count())
        setCurrentRow(row);
    buzzer(0);
}
