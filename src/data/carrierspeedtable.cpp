#include "carrierspeedtable.h"

#include "machinedata.h"
#include "panelfiles.h"
#include "platform/panelpaths.h"

#include <QFile>

QString CarrierSpeedTable::bandText(int band)
{
    // Band 4's text is set one place apart from its neighbours' on the panel.
    if (band == 3)
        return QStringLiteral("4:   16 - 20");
    const int lowest = 5 * band + 1;
    const int highest = band == kBands - 1 ? 99 : lowest + 4;
    return QStringLiteral("%1:  %2- %3").arg(band + 1, -2).arg(lowest, -3).arg(highest);
}

QString CarrierSpeedTable::path()
{
    return PanelPaths::data(QStringLiteral("/para/speed.mth"));
}

bool CarrierSpeedTable::parse(MachineData &data, const QByteArray &bytes)
{
    // A short or long file is not a table this panel wrote: the defaults are safer than half of it.
    if (bytes.size() != qsizetype(kCarrierSpeedSize))
        return false;
    data.carrierSpeedTable().fill(bytes);
    return true;
}

bool CarrierSpeedTable::load(MachineData &data)
{
    QFile f(path());
    return f.open(QIODevice::ReadOnly) && parse(data, f.read(qint64(kCarrierSpeedSize) + 1));
}

bool CarrierSpeedTable::save(const MachineData &data)
{
    return saveWholeFile(path(), data.carrierSpeedTable().data(), qint64(kCarrierSpeedSize)) == 1;
}
