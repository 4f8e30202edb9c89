#include "beepinglistview.h"

#include "buzzer.h"

#include <QKeyEvent>

BeepingListView::BeepingListView(QWidget *parent, const char *name)
    : QTreeWidget(parent)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    setRootIsDecorated(false);
    connect(this, &QTreeWidget::itemPressed, this, [] { buzzer(kKeyBeepMs); });
}

void BeepingListView::keyPressEvent(QKeyEvent *event)
{
    QTreeWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        buzzer(kKeyBeepMs);
        break;
    default:
        break;
    }
}
