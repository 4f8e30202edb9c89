#include "cellgrid.h"

#include "buzzer.h"
#include "celledit.h"

#include <QKeyEvent>
#include <QTimer>

int CellGrid::keypadKey(int key)
{
    if (key >= Qt::Key_F1 && key <= Qt::Key_F8)
        return Qt::Key_A + (key - Qt::Key_F1);
    return key == Qt::Key_Return ? Qt::Key_Enter : key;
}

CellGrid::CellGrid(int columns, int rows, Touch touch, QWidget *parent)
    : QWidget(parent)
    , columns_(columns)
    , rows_(rows)
    , touch_(touch)
{
    bindKey(Qt::Key_Left, [this] { move(-1, 0); });
    bindKey(Qt::Key_Right, [this] { move(1, 0); });
    bindKey(Qt::Key_Up, [this] { move(0, -1); });
    bindKey(Qt::Key_Down, [this] { move(0, 1); });
    bindKey(Qt::Key_Enter, [this] { enterKey(); });
    bindKey(Qt::Key_Backspace, [this] { clearKey(); });
}

CellEdit *CellGrid::cell(int column, int row) const
{
    if (column < 0 || column >= columns_ || row < 0 || row >= rows_)
        return nullptr;
    return cells_.value(column * rows_ + row);
}

void CellGrid::addCell(CellEdit *cell)
{
    cell->installEventFilter(this);
    cells_.append(cell);
}

void CellGrid::bindKey(int key, std::function<void()> action)
{
    keys_.insert(key, std::move(action));
}

void CellGrid::focusCurrent()
{
    if (CellEdit *e = cell(column_, row_)) {
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
    }
}

void CellGrid::moveTo(int column, int row)
{
    if (!cell(column, row))
        return;
    column_ = column;
    row_ = row;
    focusCurrent();
    cursorMoved();
}

void CellGrid::move(int dColumn, int dRow)
{
    if (!cell(column_ + dColumn, row_ + dRow))
        return; // at the edge
    restore(column_, row_);
    moveTo(column_ + dColumn, row_ + dRow);
}

bool CellGrid::keyPress(QKeyEvent *event)
{
    const int key = keypadKey(event->key());
    if (key == Qt::Key_Escape)
        return false; // the frame's close key
    if (keys_.contains(key)) {
        buzzer(kKeyBeepMs);
        keys_.value(key)();
        return true;
    }
    return otherKey(key);
}

bool CellGrid::eventFilter(QObject *watched, QEvent *event)
{
    const int index = cells_.indexOf(qobject_cast<CellEdit *>(watched));
    if (index < 0)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress)
        return keyPress(static_cast<QKeyEvent *>(event));
    if (event->type() == QEvent::MouseButtonPress) {
        Q_EMIT changeWanted();
        const int c = index / rows_;
        const int r = index % rows_;
        if (touch_ == Touch::Taken || c != column_ || r != row_)
            restore(column_, row_);
        if (touch_ == Touch::Taken)
            buzzer(kKeyBeepMs);
        moveTo(c, r);
        // After the press has placed the text cursor: digits then replace the whole text.
        QTimer::singleShot(0, cells_[index], &QLineEdit::selectAll);
        if (touch_ == Touch::Taken)
            return true;
    }
    return QWidget::eventFilter(watched, event);
}
