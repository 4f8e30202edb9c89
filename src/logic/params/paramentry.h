#pragma once

#include "celltext.h"
#include "paramcell.h"
#include "wordstore.h"

// What a parameter page sends and keeps: a confirmed value is sent as SetCommand (group,
// address, value), and kept in the page's store only once the controller has taken it.
class ParamEntry
{
public:
    enum Result { Stored, OutOfRange, Refused };

    ParamEntry(int group, WordStore store) : group_(group), store_(std::move(store)) {}

    int group() const { return group_; }
    unsigned short stored(const ParamCell &cell) const { return store_.get(cell.word); }
    void keep(const ParamCell &cell, unsigned short value) { store_.set(cell.word, value); }

    // Sends and keeps a cell's parsed value; one that is no value counts as out of range.
    Result confirm(const ParamCell &cell, const CellText::Parsed &parsed);
    // Sends a value already checked (a taught position) and keeps it when taken.
    Result send(const ParamCell &cell, unsigned short value);

private:
    int group_;
    WordStore store_;
};
