#include "entercheckbox.h"

#include "buzzer.h"

#include <QKeyEvent>

EnterCheckBox::EnterCheckBox(QWidget *parent, const char *name)
    : EnterCheckBox(QString(), parent, name)
{
}

EnterCheckBox::EnterCheckBox(const QString &text, QWidget *parent, const char *name)
    : QCheckBox(text, parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
}

void EnterCheckBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Enter && event->key() != Qt::Key_Return) {
        QCheckBox::keyPressEvent(event);
        return;
    }
    buzzer(kKeyBeepMs);
    setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
    Q_EMIT enterPressed();
}
