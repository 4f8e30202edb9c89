#include "runningparampage.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "logic/params/settingcell.h"

namespace {

// Column 0, then column 1; sent under their word. Words 22-25 belong to piece expansion.
const int kWords[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 29, 28};

} // namespace

const ParamTable &RunningParamPage::paramTable()
{
    static const ParamTable table = [] {
        ParamTable t;
        t.columns = 2;
        t.rows = 12;
        for (int word : kWords)
            t.cells.append(SettingCell::of(word, word));
        return t;
    }();
    return table;
}

RunningParamPage::RunningParamPage(MachineData &machine, QWidget *parent, const char *name)
    : ParamGrid(machine, paramTable(), Protocol::SystemGroup, WordStore::of(machine.system()), parent, name)
{
}
