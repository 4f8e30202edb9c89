#include "controllercommands.h"

#include "data/protocol.h"
#include "link/commands.h"
#include "link/controllerpresence.h"

#include <QObject>

namespace ControllerCommands {

bool stopped()
{
    return queryCarriageStatus() == 0;
}

bool action(unsigned short action, unsigned short value)
{
    return send(Protocol::ActionCommand, Protocol::MachineObject, action, value);
}

bool send(unsigned char command, unsigned char object, unsigned short value1, unsigned short value2)
{
    return setParameter(command, object, value1, value2) == Protocol::Answered;
}

bool sendLong(unsigned char command, unsigned char object, unsigned short value1, unsigned short value2)
{
    return setParameterLongWait(command, object, value1, value2) == Protocol::Answered;
}

bool query(unsigned char command, unsigned char object, unsigned short value1, unsigned short *value)
{
    return getParameter(command, object, value1, value) == Protocol::Answered;
}

bool offline()
{
    const ControllerPresence *presence = ControllerPresence::find();
    return presence && presence->offline();
}

void followPresence(QObject *context, std::function<void(bool offline)> changed)
{
    if (ControllerPresence *presence = ControllerPresence::find())
        QObject::connect(presence, &ControllerPresence::offlineChanged, context, std::move(changed));
}

} // namespace ControllerCommands
