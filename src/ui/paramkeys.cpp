#include "paramkeys.h"

namespace {

// Two choices of a switch cell, labelled as the cell shows them, on the digits the cell takes.
PanelKeys choice(const QString &one, const QString &two)
{
    return {{one, Qt::Key_1}, {two, Qt::Key_2}};
}

} // namespace

ParamKeys::ParamKeys(QWidget *parent, const char *name)
    : KeyColumn(parent, name)
{
}

PanelKeys ParamKeys::keys(int code)
{
    const QString ok = tr("确   定");
    switch (code) {
    case 1:
        return choice(tr("打开"), tr("关闭"));
    case 2:
        return choice(tr("后摇"), tr("前摇"));
    case 3:
        return choice(tr("K型"), tr("L型"));
    case 4:
        return choice(tr("单向"), tr("双向"));
    case 5:
        return choice(tr("左锁定"), tr("右锁定")) << PanelKey{tr("不锁定"), Qt::Key_0};
    case 7:
        return digitKeys() << PanelKey{QStringLiteral("+/-"), defaultKey(10)} << PanelKey{ok, defaultKey(11)};
    case 240: // the timing-belt cell: M at one end of the bed, Enter at the other
        return {{ok, Qt::Key_Enter}, {QStringLiteral("M"), Qt::Key_M}};
    case 241:
        return PanelKeys{{ok, Qt::Key_Enter}} << digitKeys() << PanelKey{tr("清   零"), Qt::Key_M};
    default:
        return {};
    }
}
