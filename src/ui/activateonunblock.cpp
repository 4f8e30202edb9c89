#include "activateonunblock.h"

#include <QEvent>
#include <QWidget>

void ActivateOnUnblock::install(QWidget *window)
{
    window->installEventFilter(new ActivateOnUnblock(window));
}

bool ActivateOnUnblock::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowUnblocked) {
        auto *window = static_cast<QWidget *>(watched);
        if (window->isVisible())
            window->activateWindow();
    }
    return false;
}
