#include "motopanel.h"

namespace {

enum class Kind { Density, Pattern };

// Kinds 0-4 of a needle-bed group (groups 0-3): density motor, selector, cams, selector,
// density motor. The yarn-guide groups 4 and 5 test patterns like selectors. The carriage
// test page fixes this when it lands.
const Kind kBedKinds[] = {Kind::Density, Kind::Pattern, Kind::Pattern, Kind::Pattern, Kind::Density};
constexpr int kBedGroups = 4;
constexpr int kGroups = 6;

} // namespace

motopanel::motopanel(QWidget *parent, const char *name)
    : widgetpanel(parent, name)
{
}

PanelKeys motopanel::keys(int number)
{
    if (number < 0 || number >= motopanel::testNumber(kGroups, 0))
        return {};
    const int group = number / 5;
    const Kind kind = group < kBedGroups ? kBedKinds[number % 5] : Kind::Pattern;
    // The keys are those the page acts on: "1"-"5" drive one motor to a position, "7" and "8"
    // all motors, "0" returns to zero ("6" and "9" do nothing); on a pattern "0" tests the
    // whole set and Enter starts the cycle, where the digits 1-8 would flip single elements.
    if (kind == Kind::Density)
        return {{QStringLiteral("密度:0"), Qt::Key_1},   {QStringLiteral("密度:100"), Qt::Key_2},
                {QStringLiteral("密度:200"), Qt::Key_3}, {QStringLiteral("密度:400"), Qt::Key_4},
                {QStringLiteral("密度:649"), Qt::Key_5}, {QStringLiteral("整组:0"), Qt::Key_7},
                {QStringLiteral("整组:649"), Qt::Key_8}, {QStringLiteral("密度:归零"), Qt::Key_0}};
    return {{QStringLiteral("整组测试"), Qt::Key_0}, {QStringLiteral("循环测试"), Qt::Key_Enter}};
}
