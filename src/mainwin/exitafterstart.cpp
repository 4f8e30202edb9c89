#include "exitafterstart.h"

#include "platform/servicenotify.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

bool ExitAfterStart::wanted()
{
    return qgetenv("KNIT_EXIT_AFTER_START") == "1";
}

void ExitAfterStart::install(QWidget *screen)
{
    new ExitAfterStart(screen);
}

ExitAfterStart::ExitAfterStart(QWidget *screen)
    : QObject(screen)
    , screen_(screen)
{
    // The whole application's events: the screen's labels cover it, so its window's paints go
    // to them rather than to the screen itself.
    qApp->installEventFilter(this);
    // The screen's first paint after start-up; one already asked for is the one awaited.
    screen->update();
}

bool ExitAfterStart::eventFilter(QObject *watched, QEvent *event)
{
    // A message still open over the screen waits for the operator, as without the variable.
    if (event->type() == QEvent::Paint && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == screen_ && !QApplication::activeModalWidget()) {
        qApp->removeEventFilter(this);
        // The service manager's start is over when the operator sees the main screen.
        ServiceNotify::ready();
        // After this paint has been drawn and flushed to the screen.
        if (wanted())
            QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }
    return false;
}
