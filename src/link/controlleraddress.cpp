#include "controlleraddress.h"

#include "platform/panelenv.h"

quint32 ControllerAddress::ipv4()
{
    return PanelEnv::controllerIpv4OrNobody();
}

bool ControllerAddress::configuredIpv4(quint32 *address, QString *error)
{
    return PanelEnv::controllerIpv4(address, error);
}
