#pragma once

#include "choiceset.h"

#include "data/systemsettings.h"

#include <QString>

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
