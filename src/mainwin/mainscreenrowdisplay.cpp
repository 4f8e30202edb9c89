// The current-row display on the main screen, repainted at the screen's pace.
#include "mainscreen.h"

#include "rowdisplay.h"

#include "data/machinedata.h"
#include "data/protocol.h"

#include <QTimer>

void MainScreen::paintRow(unsigned short row)
{
    rowDisplay_->paintRow(row);
}

void MainScreen::requestLine(unsigned short row)
{
    // A row the display would ignore must not replace one it would have shown.
    if (row > RowDisplay::kLastRow)
        return;
    pendingLine_ = row;
    linePending_ = true;
}

void MainScreen::paceLine()
{
    if ((linePending_ || piecePending_) && !lineTimer_->isActive())
        lineTimer_->start();
}

void MainScreen::flushLine()
{
    if (linePending_) {
        linePending_ = false;
        paintRow(pendingLine_);
    }
    if (piecePending_) {
        piecePending_ = false;
        paintPieces(machineData_.controllerState().word(Protocol::PiecesDoneWord), machineData_.controllerState().word(Protocol::PiecesWord));
    }
}
