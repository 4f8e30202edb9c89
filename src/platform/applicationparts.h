#pragma once

#include <QCoreApplication>
#include <QString>
#include <QThread>

// The process-wide parts a program's main() makes as children of its application object (the
// buzzer, the controller's presence, the stall report, the TFTP ports' history): code far
// below the one that owns them finds them by type. Only on the application's thread, where
// they are made and used; nullptr there without such a part, or off that thread.
class ApplicationParts
{
public:
    template <class Part>
    static Part *find()
    {
        QCoreApplication *app = QCoreApplication::instance();
        if (!app || QThread::currentThread() != app->thread())
            return nullptr;
        return app->findChild<Part *>(QString(), Qt::FindDirectChildrenOnly);
    }
};
