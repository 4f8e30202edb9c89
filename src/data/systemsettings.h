#pragma once

#include <vector>

// The needle-bed width (the system block's word 58) as the upper bound of a setting.
constexpr int kBedWidth = -1;

// The system block described once, setting by setting: the words each fills, its factory
// default by cam-board type and, where a page shows it, what the operator may enter there;
// the settings a grid page shows as rows and columns of like cells, grid by grid. The factory
// defaults and the cells of the running, system, frequent-settings and grid pages are all
// made from it.
class SystemSettings
{
public:
    // How the operator enters a setting; None: no page shows it, it is a default alone.
    enum class Entry : unsigned char { None, Number, Signed, OnOff, Lock, Taught, Belt, Racking };

    struct Setting
    {
        unsigned short first, last; // words, inclusive
        unsigned short value[3];    // by cam-board type
        Entry entry = Entry::None;
        int min = 0, max = 0; // as shown; max may be kBedWidth
        // Written in Chinese, marked in the "ParamCell" context.
        const char *label = nullptr;
        const char *help = nullptr;
        const char *question = nullptr; // taught and belt settings: the value as %1
    };

    // Like settings in rows and columns: the cell in column c, row r keeps word first + offset
    // and is sent under address + offset, offset = c * columnStep + r * rowStep. The words
    // first-last are the grid's, shown or not, each with the default of its column.
    struct Grid
    {
        unsigned short first, last; // words, inclusive
        int columns, rows;          // as shown
        int columnStep, rowStep;
        int address;
        unsigned short value[6]; // by column, the same on every cam board
        Entry entry;
        int min, max;
        // Written in Chinese, marked in the "ParamCell" context. help null: the page writes it.
        const char *help;
        const char *headers[6]; // over the columns
        // By row, in front of the first column or, with labelsEveryColumn, of each; else one
        // label for every row, the row's number from 1 as %1.
        const char *const *labels;
        const char *numberedLabel = nullptr;
        bool labelsEveryColumn = false;
    };
    enum class GridName { DensityCorrection, DensityIdle, RackingCorrection, CarriageAcceleration };

    // Every setting but the grids', by word; no word is in two, nor in a grid.
    static const std::vector<Setting> &all();
    // Every grid, in GridName's order.
    static const std::vector<Grid> &grids();
    static const Grid &grid(GridName name);
    // The setting a page shows at word; null when there is none.
    static const Setting *shown(int word);
    // camType: the controller configuration's field 3, 0 standard, 1 and 2 the two special cam
    // boards; any other counts as 0.
    static unsigned short factoryValue(const Setting &setting, int camType);
    // The default of a grid's word, first to last.
    static unsigned short factoryValue(const Grid &grid, int word);
};
