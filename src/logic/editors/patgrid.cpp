#include "patgrid.h"

#include <QtGlobal>

namespace {

int ceilDiv(int a, int b)
{
    return b > 0 ? (a + b - 1) / b : 0;
}

} // namespace

void PatGrid::layout(int innerWidth, int innerHeight, int cellWidth, int cellHeight, int bytes, int lines)
{
    cw = qMax(1, cellWidth);
    ch = qMax(1, cellHeight);
    lineBytes = bytes;
    height = lines;
    const int usableWidth = qMax(0, innerWidth - cw);
    columnsPerPage = qMax(1, usableWidth / cw / 2);
    marginX = usableWidth % cw / 2;
    const int usableHeight = qMax(0, innerHeight - ch);
    linesPerPage = qMax(1, usableHeight / ch);
    marginY = usableHeight % ch;
    pagesAcross = qMax(1, ceilDiv(lineBytes, columnsPerPage));
    pagesUp = qMax(1, ceilDiv(height, linesPerPage));
    pageAcross = pageUp = cursorColumn = cursorLine = half = 0;
}

int PatGrid::visibleColumns() const
{
    return qMin(columnsPerPage, lineBytes - pageAcross * columnsPerPage);
}

int PatGrid::visibleLines() const
{
    return qMin(linesPerPage, height - pageUp * linesPerPage);
}

void PatGrid::clampCursor()
{
    if (cursorColumn >= visibleColumns()) {
        cursorColumn = qMax(0, visibleColumns() - 1);
        half = 1;
    }
    if (cursorLine >= visibleLines())
        cursorLine = qMax(0, visibleLines() - 1);
}

bool PatGrid::direct(int code)
{
    if (lineBytes <= 0)
        return false;
    const auto turn = [this](int &page, int to, int pages) {
        if (to < 0 || to >= pages)
            return false;
        page = to;
        clampCursor();
        return true;
    };
    switch (code) {
    case PageLeft:
        return turn(pageAcross, pageAcross - 1, pagesAcross);
    case PageRight:
        return turn(pageAcross, pageAcross + 1, pagesAcross);
    case PageHigher:
        return turn(pageUp, pageUp + 1, pagesUp);
    case PageLower:
        return turn(pageUp, pageUp - 1, pagesUp);
    case Right:
        if (half == 0)
            half = 1;
        else if (cursorColumn + 1 < visibleColumns())
            ++cursorColumn, half = 0;
        return false;
    case Left:
        if (half == 1)
            half = 0;
        else if (cursorColumn > 0)
            --cursorColumn, half = 1;
        return false;
    case Up:
        if (cursorLine + 1 < visibleLines())
            ++cursorLine;
        return false;
    case Down:
        if (cursorLine > 0)
            --cursorLine;
        return false;
    default:
        return false;
    }
}

void PatGrid::findLine(unsigned n)
{
    if (height <= 0)
        return;
    const int line = int(qBound(1u, n, unsigned(height))) - 1;
    pageUp = line / linesPerPage;
    cursorLine = line % linesPerPage;
}

void PatGrid::findColumn(unsigned n)
{
    if (lineBytes <= 0)
        return;
    // Clamped to the columns the bytes hold: an odd stored width's last column has no byte,
    // and reaching for it would put the cursor on a page past the last.
    const int column = int(qBound(1u, n, unsigned(2 * lineBytes))) - 1;
    const int byte = column / 2;
    pageAcross = byte / columnsPerPage;
    cursorColumn = byte % columnsPerPage;
    half = column % 2;
}

bool PatGrid::setCursorAt(int x, int y)
{
    if (x < cw / 2 || y < ch / 2)
        return false;
    const int cell = (x - cw / 2) / cw;
    const int column = cell / 2;
    const int line = linesPerPage - (y - ch / 2) / ch - 1;
    if (column >= visibleColumns() || line < 0 || line >= visibleLines())
        return false;
    cursorColumn = column;
    half = cell % 2;
    cursorLine = line;
    return true;
}

QPoint PatGrid::digitAt(int column, int h, int pageLine, int labelHeight) const
{
    return {cw * (2 * column + 1 + h) + marginX - 3, (labelHeight + 3) - (marginY + ch * (pageLine + 1))};
}
