#include "systemsettings.h"

#include "rackingvalue.h"

#include <QtGlobal>

#include <iterator>

namespace {

using E = SystemSettings::Entry;
using Setting = SystemSettings::Setting;
using Grid = SystemSettings::Grid;

const char kOnOffHelp[] = QT_TRANSLATE_NOOP("ParamCell", "1 = 打开, 2 = 关闭");
const char kSinkerHelp[] = QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 - 1000 ");
const char kCompensationHelp[] = QT_TRANSLATE_NOOP("ParamCell", "参数范围 : -10 ~ 10");
const char kTwoToTenHelp[] = QT_TRANSLATE_NOOP("ParamCell", "参数范围:2 ~ 10");
const char kOneToTenHelp[] = QT_TRANSLATE_NOOP("ParamCell", "参数范围:1 ~ 10");
const char kRackingSpeedHelp[] = QT_TRANSLATE_NOOP("ParamCell", "参数范围:  0   ~ 100");
const char kEncoderHelp[] = QT_TRANSLATE_NOOP("ParamCell", "参数范围:  100   ~ 10000");

// By word. The sinkers (12-21) take 0 although their help reads 1 - 1000, and the top speed
// refuses 0 although its help reads 0 - 1200: the controller's ranges, not the texts.
const Setting kSettings[] = {
    {0, 0, {1, 1, 1}, E::Number, 1, kBedWidth, QT_TRANSLATE_NOOP("ParamCell", "花板起始针"), QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 - ")},
    {1, 1, {90, 100, 90}, E::Number, 20, 100, QT_TRANSLATE_NOOP("ParamCell", "主马达高速"), QT_TRANSLATE_NOOP("ParamCell", "参数范围: 20 - 100")},
    {2, 2, {60, 60, 60}, E::Number, 20, 60, QT_TRANSLATE_NOOP("ParamCell", "主马达限制速度"), QT_TRANSLATE_NOOP("ParamCell", "参数范围: 20 - 60")},
    {3, 3, {20, 30, 20}, E::Number, 5, 50, QT_TRANSLATE_NOOP("ParamCell", "主马达低速"), QT_TRANSLATE_NOOP("ParamCell", "参数范围: 5 - 50")},
    {4, 4, {12, 15, 12}, E::Number, 5, 15, QT_TRANSLATE_NOOP("ParamCell", "主马达复位速度"), QT_TRANSLATE_NOOP("ParamCell", "参数范围: 5 - 15")},
    {5, 5, {1200, 1200, 1200}, E::Number, 1, 1200, QT_TRANSLATE_NOOP("ParamCell", "主马达最高速度"), QT_TRANSLATE_NOOP("ParamCell", "参数范围: 0 - 1200 ")},
    {6, 6, {10, 10, 10}, E::Number, 1, 100, QT_TRANSLATE_NOOP("ParamCell", "自动归零件数"), QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 - 100")},
    {7, 7, {70, 60, 70}, E::Number, 1, 100, QT_TRANSLATE_NOOP("ParamCell", "针撞击灵敏度"), QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 - 100")},
    {8, 8, {1, 1, 1}, E::OnOff, 1, 2, QT_TRANSLATE_NOOP("ParamCell", "针撞击使能"), kOnOffHelp},
    {9, 9, {30, 10, 30}, E::Number, 1, 100, QT_TRANSLATE_NOOP("ParamCell", "主罗拉停车力矩"), QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 - 100")},
    {10, 10, {3, 1, 3}, E::Number, 1, 8, QT_TRANSLATE_NOOP("ParamCell", "机头加减速类型"), QT_TRANSLATE_NOOP("ParamCell", "参数范围: 1 - 8")},
    {11, 11, {25, 20, 25}, E::Number, 5, 50, QT_TRANSLATE_NOOP("ParamCell", "机头回转距离"), QT_TRANSLATE_NOOP("ParamCell", "参数范围: 5 - 50 ")},
    {12, 12, {300, 200, 220}, E::Number, 0, 1000, QT_TRANSLATE_NOOP("ParamCell", "后沉降片复位"), kSinkerHelp},
    {13, 13, {550, 200, 100}, E::Number, 0, 1000, QT_TRANSLATE_NOOP("ParamCell", "后沉降片左行翻针位"), kSinkerHelp},
    {14, 14, {50, 200, 340}, E::Number, 0, 1000, QT_TRANSLATE_NOOP("ParamCell", "后沉降片右行翻针位"), kSinkerHelp},
    {15, 15, {550, 200, 100}, E::Number, 0, 1000, QT_TRANSLATE_NOOP("ParamCell", "后沉降片编织左行位"), kSinkerHelp},
    {16, 16, {50, 200, 340}, E::Number, 0, 1000, QT_TRANSLATE_NOOP("ParamCell", "后沉降片编织右行位"), kSinkerHelp},
    {17, 17, {300, 200, 220}, E::Number, 0, 1000, QT_TRANSLATE_NOOP("ParamCell", "前沉降片复位"), kSinkerHelp},
    {18, 18, {50, 200, 340}, E::Number, 0, 1000, QT_TRANSLATE_NOOP("ParamCell", "前沉降片左行翻针位"), kSinkerHelp},
    {19, 19, {550, 200, 100}, E::Number, 0, 1000, QT_TRANSLATE_NOOP("ParamCell", "前沉降片右行翻针位"), kSinkerHelp},
    {20, 20, {50, 200, 340}, E::Number, 0, 1000, QT_TRANSLATE_NOOP("ParamCell", "前沉降片编织左行位"), kSinkerHelp},
    {21, 21, {550, 200, 100}, E::Number, 0, 1000, QT_TRANSLATE_NOOP("ParamCell", "前沉降片编织右行位"), kSinkerHelp},
    // Words 22-25 belong to piece expansion, set on its own page.
    {22, 22, {1, 1, 1}}, {23, 23, {20, 20, 20}}, {24, 24, {255, 255, 255}}, {25, 27, {0, 0, 0}},
    {28, 28, {2, 2, 2}, E::OnOff, 1, 2, QT_TRANSLATE_NOOP("ParamCell", "左右安全门使能"), kOnOffHelp},
    {29, 29, {0, 0, 0}, E::Number, 0, 64, QT_TRANSLATE_NOOP("ParamCell", "密度电机归零方式"), QT_TRANSLATE_NOOP("ParamCell", "参数范围: 0 - 64 ")},
    {30, 30, {686, 623, 727}, E::Taught, -500, 2000, QT_TRANSLATE_NOOP("ParamCell", "针零位"), QT_TRANSLATE_NOOP("ParamCell", "机头移动到零位,按确定键."), QT_TRANSLATE_NOOP("ParamCell", "设置针零位为: %1")},
    {31, 31, {643, 579, 669}, E::Taught, -500, 2000, QT_TRANSLATE_NOOP("ParamCell", "左系统纱嘴右行零位"), QT_TRANSLATE_NOOP("ParamCell", "机头移动到左系统纱嘴右行零位,按<确定>键."), QT_TRANSLATE_NOOP("ParamCell", "设置左系统纱嘴右行零位为: %1")},
    {32, 32, {635, 560, 657}, E::Taught, -500, 2000, QT_TRANSLATE_NOOP("ParamCell", "左系统纱嘴左行零位"), QT_TRANSLATE_NOOP("ParamCell", "机头移动到左系统纱嘴左行零位,按<确定>键."), QT_TRANSLATE_NOOP("ParamCell", "设置左系统纱嘴左行零位为: %1")},
    {33, 33, {571, 573, 573}, E::Taught, -500, 2000, QT_TRANSLATE_NOOP("ParamCell", "右系统纱嘴右行零位"), QT_TRANSLATE_NOOP("ParamCell", "机头移动到右系统纱嘴右行零位,按<确定>键."), QT_TRANSLATE_NOOP("ParamCell", "设置右系统纱嘴右行零位为: %1")},
    {34, 34, {563, 560, 560}, E::Taught, -500, 2000, QT_TRANSLATE_NOOP("ParamCell", "右系统纱嘴左行零位"), QT_TRANSLATE_NOOP("ParamCell", "机头移动到右系统纱嘴左行零位,按<确定>键."), QT_TRANSLATE_NOOP("ParamCell", "设置右系统纱嘴左行零位为: %1")},
    {35, 35, {1306, 1274, 1384}, E::Taught, -500, 2000, QT_TRANSLATE_NOOP("ParamCell", "机头右限位"), QT_TRANSLATE_NOOP("ParamCell", "机头移动到机头右限位,按<确定>键."), QT_TRANSLATE_NOOP("ParamCell", "设置机头右限位为: %1")},
    {36, 36, {437, 494, 466}, E::Taught, -500, 2000, QT_TRANSLATE_NOOP("ParamCell", "机头左限位"), QT_TRANSLATE_NOOP("ParamCell", "机头移动到机头左限位,按<确定>键."), QT_TRANSLATE_NOOP("ParamCell", "设置机头左限位为: %1")},
    {37, 37, {20710, 22039, 23800}, E::Belt, 1, 65000, QT_TRANSLATE_NOOP("ParamCell", "同步带齿距校正"),
     QT_TRANSLATE_NOOP("ParamCell", "先移动机头到针板左边,按< M >键 , 再移动机头到针板右边,按< 确定 >键."), QT_TRANSLATE_NOOP("ParamCell", "设置同步带齿距校正为: %1")},
    {38, 38, {500, 500, 500}, E::Signed, -10, 10, QT_TRANSLATE_NOOP("ParamCell", "选针器右补偿"), kCompensationHelp},
    {39, 39, {500, 500, 500}, E::Signed, -10, 10, QT_TRANSLATE_NOOP("ParamCell", "选针器左补偿"), kCompensationHelp},
    {40, 40, {40, 30, 50}, E::Number, 1, 100, QT_TRANSLATE_NOOP("ParamCell", "纱嘴下落提前量"), QT_TRANSLATE_NOOP("ParamCell", "参数范围:1 ~ 100")},
    {41, 41, {5, 10, 5}, E::Number, 1, 20, QT_TRANSLATE_NOOP("ParamCell", "纱嘴抬起提前量"), QT_TRANSLATE_NOOP("ParamCell", "参数范围:1 ~ 20")},
    {42, 42, {7, 7, 7}, E::Number, 2, 10, QT_TRANSLATE_NOOP("ParamCell", "电磁铁高压"), kTwoToTenHelp},
    {43, 43, {7, 7, 7}, E::Number, 2, 10, QT_TRANSLATE_NOOP("ParamCell", "选针器高压"), kTwoToTenHelp},
    {44, 44, {4, 4, 4}, E::Number, 2, 10, QT_TRANSLATE_NOOP("ParamCell", "选针器低压"), kTwoToTenHelp},
    {45, 45, {6, 6, 6}, E::Number, 2, 10, QT_TRANSLATE_NOOP("ParamCell", "密度电机复位速度"), kTwoToTenHelp},
    {46, 46, {6, 6, 6}, E::Number, 1, 10, QT_TRANSLATE_NOOP("ParamCell", "密度电机最高复位速度"), kOneToTenHelp},
    {47, 47, {1, 2, 1}, E::OnOff, 1, 2, QT_TRANSLATE_NOOP("ParamCell", "生克有效"), kOnOffHelp},
    {48, 48, {2, 2, 2}, E::Number, 1, 10, QT_TRANSLATE_NOOP("ParamCell", "选针器停止关闭时间"), kOneToTenHelp},
    {49, 49, {1, 2, 1}, E::OnOff, 1, 2, QT_TRANSLATE_NOOP("ParamCell", "选针器重选节能使能"), kOnOffHelp},
    {50, 50, {500, 500, 500}, E::Signed, 0, 500, QT_TRANSLATE_NOOP("ParamCell", "摇床丝杆修正"), QT_TRANSLATE_NOOP("ParamCell", "参数范围:  0 ~ 500")},
    {51, 51, {40, 100, 80}, E::Number, 0, 100, QT_TRANSLATE_NOOP("ParamCell", "摇床速度设置(普通)"), kRackingSpeedHelp},
    {52, 52, {60, 100, 80}, E::Number, 0, 100, QT_TRANSLATE_NOOP("ParamCell", "摇床速度设置( 高 )"), kRackingSpeedHelp},
    {53, 53, {30, 30, 80}, E::Number, 0, 100, QT_TRANSLATE_NOOP("ParamCell", "摇床速度设置( 低 )"), kRackingSpeedHelp},
    {54, 54, {0, 1, 0}, E::Lock, 0, 2, QT_TRANSLATE_NOOP("ParamCell", "系统锁定设置"), QT_TRANSLATE_NOOP("ParamCell", "1 = 左系统, 2 = 右系统, 0 = 不锁定")},
    {55, 55, {1000, 2000, 2000}, E::Number, 100, 10000, QT_TRANSLATE_NOOP("ParamCell", "主编码器输出线数"), kEncoderHelp},
    {56, 56, {2500, 2000, 2000}, E::Number, 100, 10000, QT_TRANSLATE_NOOP("ParamCell", "移床编码器输出线数"), kEncoderHelp},
    {57, 57, {12, 12, 12}, E::Number, 1, 20, QT_TRANSLATE_NOOP("ParamCell", "每英寸针数"), QT_TRANSLATE_NOOP("ParamCell", "参数范围:  1   ~ 20")},
    {58, 58, {624, 624, 636}, E::Number, 1, 1500, QT_TRANSLATE_NOOP("ParamCell", "针板总针数"), QT_TRANSLATE_NOOP("ParamCell", "参数范围:  1   ~ 1500")},
    {59, 59, {23, 23, 23}, E::Number, 0, 24, QT_TRANSLATE_NOOP("ParamCell", "密度参数默认组"), QT_TRANSLATE_NOOP("ParamCell", "参数范围:  0   ~ 24")},
    // Words 60-185: the grids.
    {186, 201, {0, 0, 0}},
};

// The grid pages' settings. The density corrections and idle densities keep eight motors a
// column, two knitting systems of four, and the racking table eighteen words a column for its
// seventeen positions: the words past the shown rows hold their column's default alone.
const char *const kMotorNames[] = {QT_TRANSLATE_NOOP("ParamCell", "前.I"), QT_TRANSLATE_NOOP("ParamCell", "前II"), QT_TRANSLATE_NOOP("ParamCell", "后.I"), QT_TRANSLATE_NOOP("ParamCell", "后II")};
const char *const kRackingPositions[] = {"0", "R1", "R2", "R3", "R4", "R5", "R6", "R7", "R8", "L1", "L2", "L3", "L4", "L5", "L6", "L7", "L8"};

// In GridName's order.
const Grid kGrids[] = {
    {60, 75, 2, 4, 8, 1, 0, {500, 500}, E::Signed, -100, 100, nullptr,
     {QT_TRANSLATE_NOOP("ParamCell", "单     面"), QT_TRANSLATE_NOOP("ParamCell", "四     平")}, kMotorNames},
    {76, 83, 1, 4, 8, 1, 16, {0}, E::Number, 0, 350, QT_TRANSLATE_NOOP("ParamCell", "参数范围 : 0 ~ 350"), {}, kMotorNames},
    {RackingValue::kFirstWord, RackingValue::kFirstWord + RackingValue::kColumns * RackingValue::kColumnWords - 1,
     RackingValue::kColumns, RackingValue::kPositions, RackingValue::kColumnWords, 1, 0,
     {RackingValue::kZero, RackingValue::kZero, RackingValue::kZero}, E::Racking, 0, 0,
     QT_TRANSLATE_NOOP("ParamCell", "[ 摇床位置修正说明 ] : 按< 确定 >, 进入摇床修正对话框 . 按< M >, 摇床位置修正整组修改 ."),
     {QT_TRANSLATE_NOOP("ParamCell", "对   齐"), QT_TRANSLATE_NOOP("ParamCell", "交   叉"), QT_TRANSLATE_NOOP("ParamCell", "翻   针")},
     kRackingPositions, nullptr, true},
    // Acceleration then deceleration, each a proportional (default 100), integral and derivative term.
    {138, 185, 6, 8, 1, 6, 0, {100, 0, 0, 100, 0, 0}, E::Number, 0, 60000, QT_TRANSLATE_NOOP("ParamCell", "参数范围 : 0 ~ 60000"),
     {QT_TRANSLATE_NOOP("ParamCell", "加速比例"), QT_TRANSLATE_NOOP("ParamCell", "加速积分"), QT_TRANSLATE_NOOP("ParamCell", "加速微分"),
      QT_TRANSLATE_NOOP("ParamCell", "减速比例"), QT_TRANSLATE_NOOP("ParamCell", "减速积分"), QT_TRANSLATE_NOOP("ParamCell", "减速微分")},
     nullptr, QT_TRANSLATE_NOOP("ParamCell", "第 %1  组")},
};

} // namespace

const std::vector<SystemSettings::Setting> &SystemSettings::all()
{
    static const std::vector<Setting> settings(std::begin(kSettings), std::end(kSettings));
    return settings;
}

const SystemSettings::Setting *SystemSettings::shown(int word)
{
    for (const Setting &s : kSettings) {
        if (s.entry != Entry::None && s.first == word)
            return &s;
    }
    return nullptr;
}

unsigned short SystemSettings::factoryValue(const Setting &setting, int camType)
{
    return setting.value[camType >= 0 && camType <= 2 ? camType : 0];
}

const std::vector<SystemSettings::Grid> &SystemSettings::grids()
{
    static const std::vector<Grid> grids(std::begin(kGrids), std::end(kGrids));
    return grids;
}

const SystemSettings::Grid &SystemSettings::grid(GridName name)
{
    return kGrids[static_cast<int>(name)];
}

unsigned short SystemSettings::factoryValue(const Grid &grid, int word)
{
    return grid.value[(word - grid.first) / grid.columnStep % grid.columns];
}
