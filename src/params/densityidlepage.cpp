#include "densityidlepage.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "logic/params/settingcell.h"

const ParamTable &DensityIdlePage::paramTable()
{
    static const ParamTable table = SettingCell::table(SystemSettings::grid(SystemSettings::GridName::DensityIdle));
    return table;
}

DensityIdlePage::DensityIdlePage(MachineData &machine, QWidget *parent, const char *name)
    : ParamGrid(machine, paramTable(), Protocol::DensityGroup, WordStore::of(machine.system()), parent, name)
{
}
