#pragma once

#include <QHash>
#include <QList>
#include <QWidget>

#include <functional>

class CellEdit;
class QKeyEvent;

// A page of line-edit cells in columns and rows: the cursor, the keypad's keys as one table
// (arrows, Enter, Backspace and the page's own, M among them), a touch on a cell, and the
// signals that carry the help line and key panel; what a cell holds and sends is the page's.
class CellGrid : public QWidget
{
    Q_OBJECT

public:
    // F1-F8 act as the keypad letters A-H; Return as the keypad's Enter.
    static int keypadKey(int key);

    int column() const { return column_; }
    int row() const { return row_; }
    CellEdit *cell(int column, int row) const;
    // Makes the cell current: focus with its text selected, then cursorMoved().
    void moveTo(int column, int row);

public Q_SLOTS:
    virtual void enterKey() = 0;
    // Backspace (after the key beep) and the frame's clear button.
    virtual void clearKey() = 0;

Q_SIGNALS:
    void messageChanged(const QString &text);
    void panelCodeChanged(int code);
    void changeWanted();

protected:
    // How a touch on a cell is taken: passed on to the line edit, or taken here with a beep and
    // the current cell's stored value back even when the touch falls on it.
    enum class Touch { PassedOn, Taken };

    CellGrid(int columns, int rows, Touch touch, QWidget *parent);

    // Cells column by column: the n-th added is (n / rows, n % rows).
    void addCell(CellEdit *cell);
    const QList<CellEdit *> &cells() const { return cells_; }
    // A key of the page: beeps, then acts; the letters A-H are also reached by F1-F8.
    void bindKey(int key, std::function<void()> action);
    void focusCurrent();
    void move(int dColumn, int dRow);
    // Routes a key from a cell (or the page): true when taken, false when the cell gets it.
    bool keyPress(QKeyEvent *event);

    // The cell's text from what the page keeps.
    virtual void restore(int column, int row) = 0;
    virtual void cursorMoved() {}
    // A key the table does not hold, as keyPress() answers.
    virtual bool otherKey(int key) = 0;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<CellEdit *> cells_;
    QHash<int, std::function<void()>> keys_;
    int columns_;
    int rows_;
    Touch touch_;
    int column_ = 0;
    int row_ = 0;
};
