#include "windowfocus.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

void WindowFocus::install()
{
    static WindowFocus *filter = nullptr;
    if (!filter) {
        filter = new WindowFocus(qApp);
        qApp->installEventFilter(filter);
    }
}

bool WindowFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow())
        QTimer::singleShot(0, this, &WindowFocus::activateTop);
    return false;
}

void WindowFocus::activateTop()
{
    QWidget *top = QApplication::activeModalWidget();
    if (!top) {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && !w->isMinimized() && !(w->windowFlags() & Qt::Popup))
                top = w;
        }
    }
    // Even when Qt still takes it for active: the X server may have moved the focus away.
    if (top)
        top->activateWindow();
}
