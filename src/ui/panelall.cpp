#include "panelall.h"

namespace {

const QString kOk = QStringLiteral("确   定");

// Two choices of a switch cell, labelled as the cell shows them, on the digits the cell takes.
PanelKeys choice(const char *one, const char *two)
{
    return {{QString::fromUtf8(one), Qt::Key_1}, {QString::fromUtf8(two), Qt::Key_2}};
}

} // namespace

panelall::panelall(QWidget *parent, const char *name)
    : widgetpanel(parent, name)
{
}

PanelKeys panelall::keys(int code)
{
    switch (code) {
    case 1:
        return choice("打开", "关闭");
    case 2:
        return choice("后摇", "前摇");
    case 3:
        return choice("K型", "L型");
    case 4:
        return choice("单向", "双向");
    case 5:
        return choice("左锁定", "右锁定") << PanelKey{QStringLiteral("不锁定"), Qt::Key_0};
    case 7:
        return digitKeys() << PanelKey{QStringLiteral("+/-"), defaultKey(10)} << PanelKey{kOk, defaultKey(11)};
    case 240: // the timing-belt cell: M at one end of the bed, Enter at the other
        return {{kOk, Qt::Key_Enter}, {QStringLiteral("M"), Qt::Key_M}};
    case 241:
        return PanelKeys{{kOk, Qt::Key_Enter}} << digitKeys() << PanelKey{QStringLiteral("清   零"), Qt::Key_M};
    default:
        return {};
    }
}
