#include "settingcell.h"

#include "celltext.h"

#include "data/protocol.h"

namespace {

using Entry = SystemSettings::Entry;

CellKind kindOf(Entry entry)
{
    switch (entry) {
    case Entry::Number:
        return CellKind::Number;
    case Entry::Signed:
        return CellKind::Signed;
    case Entry::OnOff:
    case Entry::Lock:
        return CellKind::Choice;
    case Entry::Taught:
        return CellKind::Taught;
    case Entry::Belt:
        return CellKind::Belt;
    case Entry::Racking:
        return CellKind::Racking;
    case Entry::None:
        break;
    }
    return CellKind::Empty;
}

// Signed and taught values are stored from the needle counter's zero, as positions are.
int biasOf(Entry entry)
{
    return entry == Entry::Signed || entry == Entry::Taught ? Protocol::NeedleZero : 0;
}

QString textOf(const char *text)
{
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace

ParamCell SettingCell::of(int word, int address)
{
    const SystemSettings::Setting *s = SystemSettings::shown(word);
    if (!s)
        return {};
    const ChoiceSet *choices = s->entry == Entry::OnOff ? &kOnOff : s->entry == Entry::Lock ? &kLock : nullptr;
    return {QString::fromUtf8(s->label), QString::fromUtf8(s->help), kindOf(s->entry), s->min, s->max,
            biasOf(s->entry), word, address, choices};
}

ParamCell SettingCell::of(const SystemSettings::Grid &grid, int column, int row)
{
    QString label;
    if (grid.numberedLabel && column == 0)
        label = CellText::translated(QString::fromUtf8(grid.numberedLabel)).arg(row + 1);
    else if (grid.labels && (column == 0 || grid.labelsEveryColumn))
        label = QString::fromUtf8(grid.labels[row]);
    const int offset = column * grid.columnStep + row * grid.rowStep;
    return {label, textOf(grid.help), kindOf(grid.entry), grid.min, grid.max, biasOf(grid.entry), grid.first + offset,
            grid.address + offset, nullptr};
}

ParamTable SettingCell::table(const SystemSettings::Grid &grid)
{
    ParamTable t;
    t.columns = grid.columns;
    t.rows = grid.rows;
    t.dotted = false;
    for (int c = 0; c < grid.columns; ++c) {
        if (grid.headers[c])
            t.headers << QString::fromUtf8(grid.headers[c]);
        for (int r = 0; r < grid.rows; ++r)
            t.cells.append(of(grid, c, r));
    }
    return t;
}
