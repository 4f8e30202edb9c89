#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One grid page of the work parameters as data: its group and range, how its cells map to
// words of the work block (word = base + column * columnStride + row * rowStride + page *
// pageStride), what "M" writes, its texts and where its cells stand.
struct WorkPage
{
    enum Labels { Groups, Carriers, Pieces, Replacement };
    enum Whole {
        NoWhole,
        GroupWords,    // the 8 words of the cell's density group, shown or not
        ColumnEntries, // the 30 entries of the cell's column, from entry 0
    };

    const char *name;
    int group;
    int min, max;
    int columns, rows, pages;
    int base, columnStride, rowStride, pageStride;
    QStringList titles;
    Labels labels;
    const char *help;
    Whole whole = NoWhole;
    bool speedLabels = false; // m/s beside each cell
    bool groupInHelp = false; // the help line ends with the page's group
    int x0 = 100, xStep = 120;

    int word(int column, int row, int page) const
    {
        return base + column * columnStride + row * rowStride + page * pageStride;
    }
    // The words "M" writes for the cell, in the order they are sent.
    QList<int> wholeWords(int column, int row, int page) const;
    QString rowLabel(int row, int page) const;
    QString helpLine(int page) const;
    // One of the pages' texts (a title, a help line) in the operator's language.
    static QString text(const char *source);

    static const WorkPage &density();
    static const WorkPage &speed();
    static const WorkPage &rollers();
    static const WorkPage &carrierParking();
    static const WorkPage &yarnFeeders();
    static const WorkPage &pieceCarrierReplacement();
    static const WorkPage &carrierReplacement();
};
