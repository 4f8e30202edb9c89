#pragma once

#include "logic/params/paramentry.h"
#include "logic/params/paramtable.h"
#include "logic/params/wordstore.h"
#include "ui/cellgrid.h"

class MachineData;
class QGridLayout;

// A parameter page laid out from its table: a label and a line edit per cell on the cell
// grid; digits typed as the cell's kind allows, Enter checked and sent through ParamEntry,
// and the focused cell's help line and key panel code from its table row.
class ParamGrid : public CellGrid
{
    Q_OBJECT

public:
    const ParamTable &table() const { return table_; }
    const ParamCell &current() const { return table_.at(column(), row()); }
    ParamEntry &entry() { return entry_; }
    MachineData &machine() const { return machine_; }

    // Writes one cell's text from a stored value.
    virtual void setCellValue(int column, int row, unsigned short value);
    // The cell's text from the page's store.
    void restore(int column, int row) override;
    void rewriteAll();
    void emitPanelCode();

public Q_SLOTS:
    void reloadFields();
    void enterKey() override;
    // The stored value back in the cell.
    void clearKey() override;

protected:
    ParamGrid(MachineData &machine, const ParamTable &table, int group, WordStore store, QWidget *parent, const char *name);

    virtual QString helpText(const ParamCell &cell) const;
    // Takes what the page shows before its cells are written, each time it is shown.
    virtual void load() {}
    // Enter's common path: check, send, keep; then the message and the cell from the store.
    ParamEntry::Result confirmCurrent(const char *refusedMessage);
    // The focused cell's value: a number cell's text, a choice cell's state.
    CellText::Parsed parseCurrent() const;
    void showResult(ParamEntry::Result result, const char *refusedMessage);
    // A widget beside the table's columns (layout column 3 * columns + n) or within them.
    void addBeside(QWidget *widget, int row, int layoutColumn, int columnSpan = 1);
    int firstRow() const { return headerRows_; }

    void cursorMoved() override;
    bool otherKey(int key) override;
    void showEvent(QShowEvent *event) override;
    // The bound of cells that end at the needle bed's width.
    int bedWidth() const;

private:
    MachineData &machine_;
    ParamTable table_;
    ParamEntry entry_;
    QGridLayout *layout_;
    int headerRows_ = 0;
    // Per cell (column * rows + row): the choice its text stands for, -1 for none.
    QList<int> choices_;
};
