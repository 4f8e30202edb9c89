#pragma once

#include "logic/workentry.h"
#include "logic/workpage.h"

#include <QHash>
#include <QList>
#include <QWidget>

#include <functional>

class MyLineEdit;
class QLabel;

// A work-parameter grid page drawn from its WorkPage table: the cells of one page of groups,
// the cursor, the keys (one table), and Enter and "M" sent through WorkEntry.
class WorkGrid : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kCellWidth = 45;
    static constexpr int kCellHeight = 20;

    WorkGrid(const WorkPage &page, QWidget *parent = nullptr);

    // The keypad's key for a key event: F1-F6 act as the tab letters A-F, Return as Enter.
    static int keypadKey(int key);

    const WorkPage &table() const { return page_; }
    int column() const { return column_; }
    int row() const { return row_; }
    int page() const { return pageNo_; }
    MyLineEdit *cell(int column, int row) const;
    QLabel *rowLabel(int row) const { return labels_.value(row); }
    QLabel *speedLabel(int row) const { return speeds_.value(row); }

    void drawpage(int column, int row, int page);
    // Validates and sends the current cell, or with whole the page's whole-group run.
    void enter_press(bool whole);

public slots:
    void slot_setfocus();
    // Backspace and the frame's clear button: the stored value back in the current cell.
    void clear_press();

signals:
    void signal_paintmsg(const QString &text);
    void signal_parachange();
    void signal_wantchange();

protected:
    void bindKey(int key, std::function<void()> action) { keys_.insert(key, std::move(action)); }
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // Keys that reach the page itself (its cells hidden) go through the same table.
    void keyPressEvent(QKeyEvent *event) override;
    // The stored value of a cell back in its editor.
    void restore(int column, int row);
    void focusCurrent();
    // Cells, titles and labels; hidden together by the replacement switch.
    QList<QWidget *> gridWidgets() const;

private:
    bool keyPress(QKeyEvent *event);
    void move(int dColumn, int dRow);
    void turn(int dPage);
    void showSpeed(int row);

    const WorkPage &page_;
    QList<MyLineEdit *> cells_; // cells_[column * rows + row]
    QList<QLabel *> labels_;
    QList<QLabel *> titles_;
    QList<QLabel *> speeds_;
    QHash<int, std::function<void()>> keys_;
    int column_ = 0;
    int row_ = 0;
    int pageNo_ = 0;
};
