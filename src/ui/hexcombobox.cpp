#include "hexcombobox.h"

#include "buzzer.h"

#include <QKeyEvent>

HexComboBox::HexComboBox(QWidget *parent, const char *name)
    : QComboBox(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    connect(this, &QComboBox::activated, this, [] { buzzer(kKeyBeepMs); });
}

void HexComboBox::keyPressEvent(QKeyEvent *event)
{
    QComboBox::keyPressEvent(event);
    if (event->key() >= Qt::Key_0 && event->key() <= Qt::Key_F)
        buzzer(kKeyBeepMs);
}
