#pragma once

#include <QPoint>

// The pattern editor's page grid without widgets: how many byte columns and lines a page
// holds, which page is shown, where the cursor stands, the movement codes, the jumps to a
// line or column and the cell a touch lands on.
class PatGrid
{
public:
    // Codes of direct(): the page turns and the arrows.
    enum Code { PageLeft = 'L', PageRight = 'R', PageHigher, PageLower, Left, Right, Up, Down };

    // Lays out a page of innerWidth x innerHeight screen pixels in cells of cw x ch for a
    // pattern of lineBytes bytes (W) per line and height lines; page (0, 0), cursor at its start.
    void layout(int innerWidth, int innerHeight, int cw, int ch, int lineBytes, int height);

    // Moves; true when the page changed (a redraw), false for a cursor step or nothing.
    bool direct(int code);
    // "F1.查找行": line n (1-based) clamped to 1 ... height.
    void findLine(unsigned n);
    // "F2.查找列": column n (1-based) clamped to 1 ... 2 x W, the columns the bytes hold.
    void findColumn(unsigned n);
    // The cursor to the cell under a touch at (x, y) of the label; false when outside the
    // visible part of the page.
    bool setCursorAt(int x, int y);
    // A cursor past the visible part of the last page comes back onto it.
    void clampCursor();

    int visibleColumns() const;
    int visibleLines() const;
    // Absolute pattern line and byte index of the cursor.
    int line() const { return pageUp * linesPerPage + cursorLine; }
    int byteIndex() const { return pageAcross * columnsPerPage + cursorColumn; }
    // Where a cell's digit goes: x and baseline y in the label of height labelHeight.
    QPoint digitAt(int column, int half, int pageLine, int labelHeight) const;

    int cw = 10;
    int ch = 12;
    int lineBytes = 0;
    int height = 0;
    int columnsPerPage = 1;
    int linesPerPage = 1;
    int marginX = 0;
    int marginY = 0;
    int pagesAcross = 1;
    int pagesUp = 1;
    int pageAcross = 0;
    int pageUp = 0;
    int cursorColumn = 0;
    int cursorLine = 0; // 0 = the page's bottom line
    int half = 0;       // 0 = left pixel (high nibble), 1 = right pixel
};
