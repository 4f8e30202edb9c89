#include "testpanel.h"

#include <iterator>

namespace {

enum class Field { Switch, Number, RollerDirection, Racking, CarriageDirection };

// The output fields of the test page by test number. It follows the page's grid (lamps;
// other test and the rollers; roller direction, racking, transfer position; collision enable,
// carriage direction, speed); the page fixes it when it lands.
const Field kFields[] = {
    Field::Switch, Field::Switch, Field::Switch,
    Field::Number, Field::Number, Field::Number,
    Field::RollerDirection, Field::Racking, Field::Switch,
    Field::Switch, Field::CarriageDirection, Field::Number,
};

} // namespace

testpanel::testpanel(QWidget *parent, const char *name)
    : widgetpanel(parent, name)
{
}

PanelKeys testpanel::keys(int number)
{
    if (number < 0 || number >= int(std::size(kFields)))
        return {};
    // The keys are the digits the page takes for each value it shows: racking counts from 1,
    // and the carriage's stop is 3.
    switch (kFields[number]) {
    case Field::Switch:
        return {{QStringLiteral("打开"), Qt::Key_1}, {QStringLiteral("关闭"), Qt::Key_2}};
    case Field::Number:
        return digitKeys() << PanelKey{QStringLiteral("取 消"), Qt::Key_Backspace}
                           << PanelKey{QStringLiteral("确 定"), Qt::Key_Enter};
    case Field::RollerDirection:
        return {{QStringLiteral("正转"), Qt::Key_1}, {QStringLiteral("反转"), Qt::Key_2}};
    case Field::Racking:
        return {{QStringLiteral("00"), Qt::Key_1}, {QStringLiteral("R1"), Qt::Key_2}, {QStringLiteral("R3"), Qt::Key_3},
                {QStringLiteral("L1"), Qt::Key_4}, {QStringLiteral("L3"), Qt::Key_5}};
    case Field::CarriageDirection:
        return {{QStringLiteral("向左"), Qt::Key_1}, {QStringLiteral("向右"), Qt::Key_2}, {QStringLiteral("停止"), Qt::Key_3}};
    }
    return {};
}
