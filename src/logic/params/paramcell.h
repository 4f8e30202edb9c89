#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Texts a choice cell shows for the stored values 0, 1, 2 and writes for the digits 0, 1, 2
// (nullptr: none; digit n stands for the value n), the key panel that offers them, and which
// shown states Enter takes as they are (bit n: the state of value n).
struct ChoiceSet
{
    const char *shown[3];
    const char *typed[3];
    int panel;
    unsigned char confirmable;
};

// What a cell's text stands for and what Enter does with it.
enum class CellKind {
    Empty,    // a place in the grid without a setting
    Number,   // unsigned, stored as typed
    Signed,   // stored as value + bias
    Choice,   // the texts of a ChoiceSet
    Taught,   // a position taken from the carriage on Enter, typed (signed, + bias) on key A
    Belt,     // the timing-belt count, marked by M and Enter, typed on key A
    Question, // shows a count that Enter clears after a question
    Racking,  // a racking value: coarse text in the cell, fine beside it; not typed here
};

// The needle-bed width (the system block's word 58) as the upper bound of a cell.
constexpr int kBedWidth = -1;

// One cell of a parameter page: its label and help line, the values it accepts as shown,
// where the page keeps its value (word of the page's store) and the index it is sent under.
struct ParamCell
{
    QString label; // null: no label in front of the cell
    QString help;
    CellKind kind = CellKind::Empty;
    int min = 0;
    int max = 0; // kBedWidth: the system block's word 58
    int bias = 0;
    int word = -1;
    int address = -1;
    const ChoiceSet *choices = nullptr;
};

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

// Where a page keeps its values: a word index read and written through two functions, so a
// page can work on the system block, the carrier speed table or a copy of its own alike.
struct WordStore
{
    std::function<unsigned short(int)> get;
    std::function<void(int, unsigned short)> set;

    template <typename Block>
    static WordStore of(Block &block)
    {
        return {[&block](int i) { return block.word(std::size_t(i)); },
                [&block](int i, unsigned short v) { block.setWord(std::size_t(i), v); }};
    }
};
