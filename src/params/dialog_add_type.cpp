#include "dialog_add_type.h"

#include "data/parablocks.h"
#include "data/protocol.h"

namespace {

constexpr int kFirstWord = 138;
const char *const kItemNames[dialog_add_type::kItems] = {"加速比例", "加速积分", "加速微分", "减速比例", "减速积分", "减速微分"};

} // namespace

const ParamTable &dialog_add_type::paramTable()
{
    static const ParamTable table = [] {
        ParamTable t;
        t.columns = kItems;
        t.rows = kTypes;
        t.dotted = false;
        t.editWidth = 52;
        for (int item = 0; item < kItems; ++item) {
            t.headers << QString::fromUtf8(kItemNames[item]);
            for (int type = 0; type < kTypes; ++type) {
                const int index = kItems * type + item;
                t.cells.append({item == 0 ? QStringLiteral("第 %1  组").arg(type + 1) : QString(), "参数范围 : 0 ~ 60000", CellKind::Number, 0, 60000,
                                0, kFirstWord + index, index, nullptr});
            }
        }
        return t;
    }();
    return table;
}

dialog_add_type::dialog_add_type(QWidget *parent, const char *name)
    : ParamGrid(paramTable(), Protocol::AccelerationGroup, WordStore::of(para_system), parent, name)
{
}
