#include "mylabel.h"

#include <QMouseEvent>

MyLabel::MyLabel(QWidget *parent, const char *name)
    : MyLabel(QString(), parent, name)
{
}

MyLabel::MyLabel(const QString &text, QWidget *parent, const char *name)
    : QLabel(text, parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
}

void MyLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (clickable_ && event->button() == Qt::LeftButton)
        Q_EMIT released();
}
