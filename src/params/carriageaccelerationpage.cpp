#include "carriageaccelerationpage.h"

#include "data/machinedata.h"
#include "data/protocol.h"

namespace {

constexpr int kFirstWord = 138;
const char *const kItemNames[CarriageAccelerationPage::kItems] = {QT_TRANSLATE_NOOP("ParamCell", "加速比例"), QT_TRANSLATE_NOOP("ParamCell", "加速积分"), QT_TRANSLATE_NOOP("ParamCell", "加速微分"), QT_TRANSLATE_NOOP("ParamCell", "减速比例"), QT_TRANSLATE_NOOP("ParamCell", "减速积分"), QT_TRANSLATE_NOOP("ParamCell", "减速微分")};

} // namespace

ParamTable CarriageAccelerationPage::paramTable()
{
    ParamTable t;
    t.columns = kItems;
    t.rows = kTypes;
    t.dotted = false;
    t.editWidth = 52;
    for (int item = 0; item < kItems; ++item) {
        t.headers << QString::fromUtf8(kItemNames[item]);
        for (int type = 0; type < kTypes; ++type) {
            const int index = kItems * type + item;
            t.cells.append({item == 0 ? tr("第 %1  组").arg(type + 1) : QString(), QT_TRANSLATE_NOOP("ParamCell", "参数范围 : 0 ~ 60000"), CellKind::Number, 0, 60000,
                            0, kFirstWord + index, index, nullptr});
        }
    }
    return t;
}

CarriageAccelerationPage::CarriageAccelerationPage(MachineData &machine, QWidget *parent, const char *name)
    : ParamGrid(machine, paramTable(), Protocol::AccelerationGroup, WordStore::of(machine.system()), parent, name)
{
}
