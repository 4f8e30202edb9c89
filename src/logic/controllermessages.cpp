#include "controllermessages.h"

#include "link/commands.h"
#include "link/controllerpresence.h"

QString ControllerMessages::refusal(const QString &running)
{
    // The status query was the last command: offline now means it went unanswered.
    return ControllerPresence::instance().offline() ? QString::fromUtf8(kConnectionFailed) : running;
}

QString ControllerMessages::refusal(unsigned int motoStatus, const char *running)
{
    return QString::fromUtf8(motoStatus == kNoMotoStatus ? kConnectionFailed : running);
}
