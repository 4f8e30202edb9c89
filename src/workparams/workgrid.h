#pragma once

#include "logic/workparams/workentry.h"
#include "logic/workparams/workpage.h"
#include "ui/cellgrid.h"

#include <QList>

class MachineData;
class CellEdit;
class QLabel;

// A work-parameter grid page drawn from its WorkPage table on the cell grid: the cells of one
// page of groups, pages turned by PageUp/PageDown, and Enter and "M" sent through WorkEntry.
class WorkGrid : public CellGrid
{
    Q_OBJECT

public:
    static constexpr int kCellWidth = 45;
    static constexpr int kCellHeight = 20;

    WorkGrid(MachineData &machine, const WorkPage &page, QWidget *parent = nullptr);

    const WorkPage &table() const { return page_; }
    int page() const { return pageNo_; }
    QLabel *rowLabel(int row) const { return labels_.value(row); }
    QLabel *speedLabel(int row) const { return speeds_.value(row); }

    void drawPage(int column, int row, int page);
    // False while the cell shows a value the controller refused (red), not what it holds.
    bool taken(int column, int row) const;
    // Validates and sends the current cell, or with whole the page's whole-group run.
    void enterKey(bool whole);

public Q_SLOTS:
    void reloadFields();
    void enterKey() override { enterKey(false); }
    // The stored value back in the current cell.
    void clearKey() override;

Q_SIGNALS:
    void parametersChanged();

protected:
    void showEvent(QShowEvent *event) override;
    // In another language: the titles, the row labels and, shown, the help line.
    void changeEvent(QEvent *event) override;
    // Keys that reach the page itself (its cells hidden) go through the same table.
    void keyPressEvent(QKeyEvent *event) override;
    // The stored value of a cell back in its editor.
    void restore(int column, int row) override;
    bool otherKey(int key) override;
    // Cells, titles and labels; hidden together by the replacement switch.
    QList<QWidget *> gridWidgets() const;
    MachineData &machine() const { return machine_; }

private:
    void turn(int dPage);
    void showTaken(CellEdit *cell, bool taken);
    void showSpeed(int row);
    void retranslate();

    MachineData &machine_;
    const WorkPage &page_;
    QList<QLabel *> labels_;
    QList<QLabel *> titles_;
    QList<QLabel *> speeds_;
    int pageNo_ = 0;
};
