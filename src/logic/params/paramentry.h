#pragma once

#include "celltext.h"
#include "paramcell.h"
#include "wordstore.h"

// What a parameter page sends and keeps: a confirmed text is checked against its cell, sent as
// SetCommand (group, address, value), and kept in the page's store only once the
// controller has taken it.
class ParamEntry
{
public:
    enum Result { Stored, OutOfRange, Refused };

    ParamEntry(int group, WordStore store) : group_(group), store_(std::move(store)) {}

    int group() const { return group_; }
    unsigned short stored(const ParamCell &cell) const { return store_.get(cell.word); }
    void keep(const ParamCell &cell, unsigned short value) { store_.set(cell.word, value); }

    // Checks, sends and keeps; a choice text that stands for nothing counts as out of range.
    // bedWidth: as CellText::parse takes it.
    Result confirm(const ParamCell &cell, const QString &text, int bedWidth);
    // Sends a value already checked (a taught position) and keeps it when taken.
    Result send(const ParamCell &cell, unsigned short value);

private:
    int group_;
    WordStore store_;
};
