#include "carriagetestkeys.h"

#include "logic/machinetests/mototest.h"

CarriageTestKeys::CarriageTestKeys(QWidget *parent, const char *name)
    : KeyColumn(parent, name)
{
}

PanelKeys CarriageTestKeys::keys(int number)
{
    const int group = number / 5;
    const int kind = number % 5;
    // A yarn-guide group is one set: the page tells it as kind 0.
    if (number < 0 || group >= MotoTest::kGroups || (group >= 4 && kind != 0))
        return {};
    // The keys are those the page acts on: "1"-"5" drive one motor to a position, "7" and "8"
    // all motors, "0" returns to zero ("6" and "9" do nothing); on a set of blades, cams or
    // guides "0" inverts them all and Enter starts the cycle, where the digits would flip
    // single elements.
    if (MotoTest::elementOf(group, kind) == MotoTest::DensityMotor) {
        //: A key driving one density motor to position %1.
        const auto density = [](int position) { return tr("密度:%1").arg(position); };
        //: A key driving every motor of the group to position %1.
        const auto all = [](int position) { return tr("整组:%1").arg(position); };
        return {{density(0), Qt::Key_1},   {density(100), Qt::Key_2}, {density(200), Qt::Key_3},
                {density(400), Qt::Key_4}, {density(649), Qt::Key_5}, {all(0), Qt::Key_7},
                {all(649), Qt::Key_8},     {tr("密度:归零"), Qt::Key_0}};
    }
    return {{tr("整组测试"), Qt::Key_0}, {tr("循环测试"), Qt::Key_Enter}};
}
