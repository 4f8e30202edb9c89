#include "runningparampage.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "logic/params/celltext.h"

namespace {

struct Row
{
    const char *label;
    int word;
    int min, max;
    const char *help;
    bool onOff = false;
};

const char kSinkerHelp[] = QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 - 1000 ");

// Column 0, then column 1. The sinkers take 0 although their help reads 1 - 1000, and the top
// speed refuses 0 although its help reads 0 - 1200: the controller's ranges, not the texts.
const Row kCells[] = {
    {QT_TRANSLATE_NOOP("ParamCell", "花板起始针"), 0, 1, kBedWidth, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 - ")},
    {QT_TRANSLATE_NOOP("ParamCell", "主马达高速"), 1, 20, 100, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 20 - 100")},
    {QT_TRANSLATE_NOOP("ParamCell", "主马达限制速度"), 2, 20, 60, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 20 - 60")},
    {QT_TRANSLATE_NOOP("ParamCell", "主马达低速"), 3, 5, 50, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 5 - 50")},
    {QT_TRANSLATE_NOOP("ParamCell", "主马达复位速度"), 4, 5, 15, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 5 - 15")},
    {QT_TRANSLATE_NOOP("ParamCell", "主马达最高速度"), 5, 1, 1200, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 0 - 1200 ")},
    {QT_TRANSLATE_NOOP("ParamCell", "自动归零件数"), 6, 1, 100, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 - 100")},
    {QT_TRANSLATE_NOOP("ParamCell", "针撞击灵敏度"), 7, 1, 100, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 - 100")},
    {QT_TRANSLATE_NOOP("ParamCell", "针撞击使能"), 8, 1, 2, QT_TRANSLATE_NOOP("ParamCell", "1 = 打开, 2 = 关闭"), true},
    {QT_TRANSLATE_NOOP("ParamCell", "主罗拉停车力矩"), 9, 1, 100, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 - 100")},
    {QT_TRANSLATE_NOOP("ParamCell", "机头加减速类型"), 10, 1, 8, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 - 8")},
    {QT_TRANSLATE_NOOP("ParamCell", "机头回转距离"), 11, 5, 50, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 5 - 50 ")},
    {QT_TRANSLATE_NOOP("ParamCell", "后沉降片复位"), 12, 0, 1000, kSinkerHelp},
    {QT_TRANSLATE_NOOP("ParamCell", "后沉降片左行翻针位"), 13, 0, 1000, kSinkerHelp},
    {QT_TRANSLATE_NOOP("ParamCell", "后沉降片右行翻针位"), 14, 0, 1000, kSinkerHelp},
    {QT_TRANSLATE_NOOP("ParamCell", "后沉降片编织左行位"), 15, 0, 1000, kSinkerHelp},
    {QT_TRANSLATE_NOOP("ParamCell", "后沉降片编织右行位"), 16, 0, 1000, kSinkerHelp},
    {QT_TRANSLATE_NOOP("ParamCell", "前沉降片复位"), 17, 0, 1000, kSinkerHelp},
    {QT_TRANSLATE_NOOP("ParamCell", "前沉降片左行翻针位"), 18, 0, 1000, kSinkerHelp},
    {QT_TRANSLATE_NOOP("ParamCell", "前沉降片右行翻针位"), 19, 0, 1000, kSinkerHelp},
    {QT_TRANSLATE_NOOP("ParamCell", "前沉降片编织左行位"), 20, 0, 1000, kSinkerHelp},
    {QT_TRANSLATE_NOOP("ParamCell", "前沉降片编织右行位"), 21, 0, 1000, kSinkerHelp},
    // Words 22-25 belong to piece expansion.
    {QT_TRANSLATE_NOOP("ParamCell", "密度电机归零方式"), 29, 0, 64, QT_TRANSLATE_NOOP("ParamCell", "参数范围: 0 - 64 ")},
    {QT_TRANSLATE_NOOP("ParamCell", "左右安全门使能"), 28, 1, 2, QT_TRANSLATE_NOOP("ParamCell", "1 = 打开, 2 = 关闭"), true},
};

} // namespace

const ParamTable &RunningParamPage::paramTable()
{
    static const ParamTable table = [] {
        ParamTable t;
        t.columns = 2;
        t.rows = 12;
        for (const Row &row : kCells) {
            t.cells.append({row.label, row.help, row.onOff ? CellKind::Choice : CellKind::Number, row.min, row.max, 0,
                            row.word, row.word, row.onOff ? &kOnOff : nullptr});
        }
        return t;
    }();
    return table;
}

RunningParamPage::RunningParamPage(MachineData &machine, QWidget *parent, const char *name)
    : ParamGrid(machine, paramTable(), Protocol::SystemGroup, WordStore::of(machine.system()), parent, name)
{
}
