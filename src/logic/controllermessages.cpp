#include "controllermessages.h"

#include "link/commands.h"
#include "link/controllerpresence.h"

#include <QCoreApplication>

QString ControllerMessages::connectionFailed()
{
    return QCoreApplication::translate("ControllerMessages", kConnectionFailed);
}

QString ControllerMessages::refusal(const QString &running)
{
    // The status query was the last command: offline now means it went unanswered.
    return ControllerPresence::instance().offline() ? connectionFailed() : running;
}

QString ControllerMessages::refusal(unsigned int motoStatus, const char *running)
{
    return motoStatus == kNoMotoStatus ? connectionFailed() : QString::fromUtf8(running);
}
