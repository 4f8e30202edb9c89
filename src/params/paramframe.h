#pragma once

#include "ui/screenframe.h"

#include <QGroupBox>

class MachineData;
class ParamGrid;
class ParamKeys;

// The frame of a parameter page: the page in its group box, the key panel that follows the
// focused cell, the cell's help on the message line, and the clear button restoring the cell.
class ParamFrame : public ScreenFrame
{
    Q_OBJECT

public:
    static constexpr int kPanelWidth = 72;
    // The title line of the pages that set the controller's parameters.
    static constexpr char kControllerTitle[] = "Controller Parameter Setting";

    ParamGrid *grid() const { return grid_; }
    QGroupBox *box() const { return box_; }

public Q_SLOTS:
    // A touch on a cell; nothing more to do here.
    void acceptChangeWish() {}

protected:
    ParamFrame(QWidget *parent, const char *name, const char *title, const char *boxText);
    // Places the page (made with box() as parent) and wires it.
    void setPage(ParamGrid *page);

private:
    QGroupBox *box_;
    ParamKeys *keys_;
    ParamGrid *grid_ = nullptr;
};
