#include "motopanel.h"

#include "logic/mototest.h"

motopanel::motopanel(QWidget *parent, const char *name)
    : widgetpanel(parent, name)
{
}

PanelKeys motopanel::keys(int number)
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
    if (MotoTest::elementOf(group, kind) == MotoTest::DensityMotor)
        return {{QStringLiteral("密度:0"), Qt::Key_1},   {QStringLiteral("密度:100"), Qt::Key_2},
                {QStringLiteral("密度:200"), Qt::Key_3}, {QStringLiteral("密度:400"), Qt::Key_4},
                {QStringLiteral("密度:649"), Qt::Key_5}, {QStringLiteral("整组:0"), Qt::Key_7},
                {QStringLiteral("整组:649"), Qt::Key_8}, {QStringLiteral("密度:归零"), Qt::Key_0}};
    return {{QStringLiteral("整组测试"), Qt::Key_0}, {QStringLiteral("循环测试"), Qt::Key_Enter}};
}
