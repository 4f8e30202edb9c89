#pragma once

#include "logic/paramcell.h"
#include "logic/paramentry.h"

#include <QHash>
#include <QList>
#include <QWidget>

#include <functional>

class MyLineEdit;
class QGridLayout;

// A parameter page laid out from its table: a label and a line edit per cell, the cursor and
// the keypad keys every parameter page shares (arrows, Enter, digits, Backspace), the page's
// own keys from one table, and the focused cell's help line and key panel code.
class ParamGrid : public QWidget
{
    Q_OBJECT

public:
    const ParamTable &table() const { return table_; }
    int column() const { return column_; }
    int row() const { return row_; }
    const ParamCell &current() const { return table_.at(column_, row_); }
    MyLineEdit *cell(int column, int row) const;
    ParamEntry &entry() { return entry_; }

    // Writes one cell's text from a stored value.
    virtual void setpara(int column, int row, unsigned short value);
    // The cell's text from the page's store.
    void rewrite(int column, int row);
    void rewriteAll();
    // Makes the cell current: focus with its text selected, its help line and key panel.
    void moveTo(int column, int row);
    void count_panel();

public slots:
    void slot_setfocus();
    virtual void enter_press();
    // Backspace and the frame's clear button: the stored value back in the cell.
    virtual void clear_press();

signals:
    void signal_paintmsg(const QString &text);
    void signal_wantchange();
    void signal_panel(int code);

protected:
    ParamGrid(const ParamTable &table, int group, WordStore store, QWidget *parent, const char *name);

    // The page's own keys; the letters A-H are also reached by F1-F8.
    void bindKey(int key, std::function<void()> action);
    virtual QString helpText(const ParamCell &cell) const;
    // Takes what the page shows before its cells are written, each time it is shown.
    virtual void load() {}
    // Enter's common path: check, send, keep; then the message and the cell from the store.
    ParamEntry::Result confirmCurrent(const char *refusedMessage);
    void showResult(ParamEntry::Result result, const char *refusedMessage);
    // A widget beside the table's columns (layout column 3 * columns + n) or within them.
    void addBeside(QWidget *widget, int row, int layoutColumn, int columnSpan = 1);
    int firstRow() const { return headerRows_; }
    void focusCurrent();

    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool keyPress(QKeyEvent *event);
    void move(int dColumn, int dRow);

    ParamTable table_;
    ParamEntry entry_;
    QGridLayout *layout_;
    QList<MyLineEdit *> cells_;
    QHash<int, std::function<void()>> keys_;
    int column_ = 0;
    int row_ = 0;
    int headerRows_ = 0;
};
