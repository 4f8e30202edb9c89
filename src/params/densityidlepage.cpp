#include "densityidlepage.h"

#include "data/machinedata.h"
#include "data/protocol.h"

namespace {

constexpr int kMotors = 4; // one knitting system
const char *const kMotorNames[kMotors] = {QT_TRANSLATE_NOOP("ParamCell", "前.I"), QT_TRANSLATE_NOOP("ParamCell", "前II"), QT_TRANSLATE_NOOP("ParamCell", "后.I"), QT_TRANSLATE_NOOP("ParamCell", "后II")};

} // namespace

const ParamTable &DensityIdlePage::paramTable()
{
    static const ParamTable table = [] {
        ParamTable t;
        t.rows = kMotors;
        t.dotted = false;
        for (int m = 0; m < kMotors; ++m)
            t.cells.append({kMotorNames[m], QT_TRANSLATE_NOOP("ParamCell", "参数范围 : 0 ~ 350"), CellKind::Number, 0, 350, 0, 76 + m, 16 + m, nullptr});
        return t;
    }();
    return table;
}

DensityIdlePage::DensityIdlePage(MachineData &machine, QWidget *parent, const char *name)
    : ParamGrid(machine, paramTable(), Protocol::DensityGroup, WordStore::of(machine.system()), parent, name)
{
}
