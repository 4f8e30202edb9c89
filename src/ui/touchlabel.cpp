#include "touchlabel.h"

#include <QMouseEvent>

TouchLabel::TouchLabel(QWidget *parent, const char *name)
    : TouchLabel(QString(), parent, name)
{
}

TouchLabel::TouchLabel(const QString &text, QWidget *parent, const char *name)
    : QLabel(text, parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
}

void TouchLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (clickable_ && event->button() == Qt::LeftButton)
        Q_EMIT released();
}
