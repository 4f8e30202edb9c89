#include "windowfocus.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

void WindowFocus::install()
{
    qApp->installEventFilter(new WindowFocus(qApp));
}

bool WindowFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow())
        QTimer::singleShot(0, this, &WindowFocus::activateTop);
    // A window without a title is named after its class once drawn (the name follows the
    // picture to the X server): no one sees the name on a frameless screen, and from outside it
    // tells which page is up and drawn.
    if (event->type() == QEvent::Expose && watched->isWindowType() && static_cast<QWindow *>(watched)->isExposed()) {
        const WId id = static_cast<QWindow *>(watched)->winId();
        QTimer::singleShot(0, this, [id] {
            if (QWidget *w = QWidget::find(id); w && w->windowTitle().isEmpty())
                w->setWindowTitle(QString::fromLatin1(w->metaObject()->className()));
        });
    }
    return false;
}

void WindowFocus::activateTop()
{
    QWidget *top = QApplication::activeModalWidget();
    if (!top) {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            // By type: the flag Qt::Popup shares its bit with Qt::Window, so a mask would
            // pass over every window.
            const Qt::WindowType type = w->windowType();
            if (w->isVisible() && !w->isMinimized() && type != Qt::Popup && type != Qt::ToolTip)
                top = w;
        }
    }
    if (top)
        activate(top);
}

void WindowFocus::activate(QWidget *w)
{
    // Not QWidget::activateWindow(): it asks nothing while Qt takes the window for active, and
    // Qt does so for a while after a dialog over it closed, whereas the X server has already
    // sent the keyboard to the root window when the dialog unmapped.
    QWindow *handle = w->window()->windowHandle();
    if (handle)
        handle->requestActivate();
    else
        w->activateWindow();
}
