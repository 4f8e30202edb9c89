#include "myentercheckbox.h"

#include "buzzer.h"

#include <QKeyEvent>

myentercheckbox::myentercheckbox(QWidget *parent, const char *name)
    : myentercheckbox(QString(), parent, name)
{
}

myentercheckbox::myentercheckbox(const QString &text, QWidget *parent, const char *name)
    : QCheckBox(text, parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
}

void myentercheckbox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Enter && event->key() != Qt::Key_Return) {
        QCheckBox::keyPressEvent(event);
        return;
    }
    buzzer(kKeyBeepMs);
    setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
    Q_EMIT enterPressed();
}
