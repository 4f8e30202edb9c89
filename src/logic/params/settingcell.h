#pragma once

#include "paramcell.h"
#include "paramtable.h"

// The cell a parameter page shows for a setting of the system block, made from its description.
class SettingCell
{
public:
    // word: the setting's word in the system block, where the page keeps its value; address:
    // the index the page sends it under. An empty cell where no page shows a setting.
    static ParamCell of(int word, int address);
    // The cell of a grid page, in the operator's language where its label is numbered.
    static ParamCell of(const SystemSettings::Grid &grid, int column, int row);
    // A grid page's cells and column headers; its labels without dots.
    static ParamTable table(const SystemSettings::Grid &grid);
};
