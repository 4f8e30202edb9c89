#include "controlleraddress.h"

#include "platform/panelenv.h"

bool ControllerAddress::configured(QHostAddress *address, QString *error)
{
    quint32 v = 0;
    if (!PanelEnv::controllerIpv4(&v, error))
        return false;
    if (address)
        *address = QHostAddress(v);
    return true;
}

QHostAddress ControllerAddress::current()
{
    return QHostAddress(PanelEnv::controllerIpv4OrNobody());
}
