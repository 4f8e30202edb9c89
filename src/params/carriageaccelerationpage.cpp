#include "carriageaccelerationpage.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "logic/params/settingcell.h"

ParamTable CarriageAccelerationPage::paramTable()
{
    ParamTable t = SettingCell::table(SystemSettings::grid(SystemSettings::GridName::CarriageAcceleration));
    t.editWidth = 52;
    return t;
}

CarriageAccelerationPage::CarriageAccelerationPage(MachineData &machine, QWidget *parent, const char *name)
    : ParamGrid(machine, paramTable(), Protocol::AccelerationGroup, WordStore::of(machine.system()), parent, name)
{
}
