#include "datadiskstate.h"

#include "panelpaths.h"

#include <QFileInfo>

bool DataDiskState::standIn()
{
    return QFileInfo::exists(PanelPaths::resolve(QStringLiteral("/run/knitpanel/data-disk-missing")));
}
