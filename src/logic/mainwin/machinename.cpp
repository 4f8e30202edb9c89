#include "machinename.h"

#include "telemetry/telemetryconfig.h"

#include <QSysInfo>

QString MachineName::current()
{
    TelemetryConfig config;
    QString why;
    if (TelemetryConfig::load(&config, &why))
        return config.machine;
    return QSysInfo::machineHostName();
}
