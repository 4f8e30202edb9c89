#pragma once

#include "paramcell.h"

#include <QList>
#include <QStringList>

// The cells of one page, column by column, and the headers over its columns of values (and,
// where a page has them, over its columns of labels).
struct ParamTable
{
    int columns = 1;
    int rows = 1;
    QList<ParamCell> cells; // cells[column * rows + row]
    QStringList headers;
    QStringList labelHeaders;
    bool dotted = true; // labels end in a row of dots that fills their column
    int editWidth = 64;
    int rowHeight = 0; // 0: the line edit's own

    const ParamCell &at(int column, int row) const { return cells[column * rows + row]; }
};
