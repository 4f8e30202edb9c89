#include "controllermessages.h"

#include "link/commands.h"
#include "link/controllerpresence.h"

#include <QCoreApplication>

QString ControllerMessages::text(const char *source)
{
    return QCoreApplication::translate("ControllerMessages", source);
}

QString ControllerMessages::connectionFailed()
{
    return text(kConnectionFailed);
}

QString ControllerMessages::refusal(const QString &running)
{
    // The status query was the last command: offline now means it went unanswered.
    const ControllerPresence *presence = ControllerPresence::find();
    return presence && presence->offline() ? connectionFailed() : running;
}

QString ControllerMessages::refusal(const char *running)
{
    return refusal(text(running));
}

QString ControllerMessages::refusal(unsigned int motoStatus, const char *running)
{
    return motoStatus == kNoMotoStatus ? connectionFailed() : text(running);
}
