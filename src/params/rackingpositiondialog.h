#pragma once

#include "ui/screenframe.h"

class MachineData;
class CellEdit;
class QKeyEvent;

// The correction dialog of one racking position: coarse and fine values typed, or the coarse
// value stepped by one with its sign rule; each confirmed value goes to the controller at once.
class RackingPositionDialog : public ScreenFrame
{
    Q_OBJECT

public:
    RackingPositionDialog(MachineData &machine, const QString &title, QWidget *parent, int column, int row);

    // mask bit 0: the coarse editor, bit 1: the fine editor.
    void setEditors(unsigned short value, int mask);

public Q_SLOTS:
    void enterKey(int step);
    void stepUp() { enterKey(1); }
    void stepDown() { enterKey(-1); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool keyPress(QKeyEvent *event);
    void focusEdit(int index);
    unsigned short stored() const;

    MachineData &machine_;
    int column_;
    int row_;
    int current_ = 0;
    CellEdit *edits_[2] = {};
};
