#include "paramgrid.h"

#include "logic/celltext.h"
#include "logic/parammessages.h"
#include "ui/buzzer.h"
#include "ui/mylineedit.h"
#include "ui/operatordialogs.h"
#include "ui/panelfonts.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {

constexpr int kCellLength = 8;
constexpr int kFullRows = 12;
const QString kDots = QString(60, QLatin1Char('.'));

// F1-F8 act as the keypad letters A-H; Return as the keypad's Enter.
int keypadKey(int key)
{
    if (key >= Qt::Key_F1 && key <= Qt::Key_F8)
        return Qt::Key_A + (key - Qt::Key_F1);
    return key == Qt::Key_Return ? Qt::Key_Enter : key;
}

} // namespace

ParamGrid::ParamGrid(const ParamTable &table, int group, WordStore store, QWidget *parent, const char *name)
    : QWidget(parent)
    , table_(table)
    , entry_(group, std::move(store))
    , layout_(new QGridLayout(this))
{
    setObjectName(QString::fromLatin1(name));
    layout_->setContentsMargins(4, 4, 4, 4);
    layout_->setHorizontalSpacing(4);
    // A table that sets its row height packs its rows (the racking table's 17 and its buttons).
    layout_->setVerticalSpacing(table_.rowHeight > 0 ? 0 : 2);
    headerRows_ = table_.headers.isEmpty() && table_.labelHeaders.isEmpty() ? 0 : 1;
    for (int c = 0; c < table_.columns; ++c) {
        if (c < table_.labelHeaders.size())
            layout_->addWidget(new QLabel(table_.labelHeaders[c], this), 0, 3 * c);
        if (c < table_.headers.size())
            layout_->addWidget(new QLabel(table_.headers[c], this), 0, 3 * c + 1);
    }
    for (int c = 0; c < table_.columns; ++c) {
        for (int r = 0; r < table_.rows; ++r) {
            const ParamCell &cell = table_.at(c, r);
            if (!cell.label.isNull()) {
                auto *label = new QLabel(table_.dotted ? cell.label + kDots : cell.label, this);
                if (table_.dotted) {
                    // The dots fill what the column leaves; a long label is cut, not the grid widened.
                    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
                    label->setMinimumWidth(20);
                }
                layout_->addWidget(label, headerRows_ + r, 3 * c);
            }
            auto *edit = new MyLineEdit(this, "cell");
            edit->setFixedWidth(table_.editWidth);
            if (table_.rowHeight > 0)
                edit->setFixedHeight(table_.rowHeight);
            edit->setMaxLength(kCellLength);
            edit->setReadOnly(cell.kind == CellKind::Empty || cell.kind == CellKind::Racking);
            edit->installEventFilter(this);
            layout_->addWidget(edit, headerRows_ + r, 3 * c + 1);
            cells_.append(edit);
        }
        // Dotted labels take the room; otherwise it goes between the columns.
        layout_->setColumnStretch(table_.dotted ? 3 * c : 3 * c + 2, 1);
    }
    // Rows spread over the page, a short table keeping to its top part.
    for (int r = 0; r < table_.rows; ++r)
        layout_->setRowStretch(headerRows_ + r, 1);
    layout_->setRowStretch(headerRows_ + table_.rows + 1, qMax(0, kFullRows - table_.rows));
    setFont(PanelFonts::panel());
}

MyLineEdit *ParamGrid::cell(int column, int row) const
{
    if (column < 0 || column >= table_.columns || row < 0 || row >= table_.rows)
        return nullptr;
    return cells_[column * table_.rows + row];
}

void ParamGrid::setpara(int column, int row, unsigned short value)
{
    if (MyLineEdit *e = cell(column, row))
        e->setText(CellText::show(table_.at(column, row), value));
}

void ParamGrid::rewrite(int column, int row)
{
    if (cell(column, row))
        setpara(column, row, entry_.stored(table_.at(column, row)));
}

void ParamGrid::rewriteAll()
{
    for (int c = 0; c < table_.columns; ++c) {
        for (int r = 0; r < table_.rows; ++r)
            rewrite(c, r);
    }
}

void ParamGrid::focusCurrent()
{
    if (MyLineEdit *e = cell(column_, row_)) {
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
    }
}

void ParamGrid::moveTo(int column, int row)
{
    if (!cell(column, row))
        return;
    column_ = column;
    row_ = row;
    focusCurrent();
    emit signal_paintmsg(helpText(current()));
    count_panel();
}

void ParamGrid::count_panel()
{
    emit signal_panel(CellText::panel(current()));
}

void ParamGrid::slot_setfocus()
{
    load();
    rewriteAll();
    moveTo(0, 0);
}

void ParamGrid::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    QTimer::singleShot(0, this, &ParamGrid::slot_setfocus);
}

QString ParamGrid::helpText(const ParamCell &cell) const
{
    return CellText::help(cell);
}

void ParamGrid::bindKey(int key, std::function<void()> action)
{
    keys_.insert(key, std::move(action));
}

void ParamGrid::addBeside(QWidget *widget, int row, int layoutColumn, int columnSpan)
{
    layout_->addWidget(widget, row, layoutColumn, 1, columnSpan);
}

void ParamGrid::showResult(ParamEntry::Result result, const char *refusedMessage)
{
    if (result == ParamEntry::OutOfRange)
        DIAMESSAGE(this, QString::fromUtf8(ParamMessages::kOutOfRange));
    else if (result == ParamEntry::Refused)
        DIAMESSAGE(this, QString::fromUtf8(refusedMessage));
}

ParamEntry::Result ParamGrid::confirmCurrent(const char *refusedMessage)
{
    const ParamEntry::Result result = entry_.confirm(current(), cell(column_, row_)->text());
    showResult(result, refusedMessage);
    rewrite(column_, row_);
    focusCurrent();
    return result;
}

void ParamGrid::enter_press()
{
    confirmCurrent(ParamMessages::kRetry);
}

void ParamGrid::clear_press()
{
    buzzer(kKeyBeepMs);
    rewrite(column_, row_);
    focusCurrent();
}

void ParamGrid::move(int dColumn, int dRow)
{
    const int c = column_ + dColumn;
    const int r = row_ + dRow;
    if (!cell(c, r))
        return; // at the edge
    rewrite(column_, row_);
    moveTo(c, r);
}

bool ParamGrid::keyPress(QKeyEvent *event)
{
    const int key = keypadKey(event->key());
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        buzzer(kKeyBeepMs);
        move(key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0, key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : 0);
        return true;
    case Qt::Key_Enter:
        buzzer(kKeyBeepMs);
        enter_press();
        return true;
    case Qt::Key_Backspace:
        clear_press();
        return true;
    case Qt::Key_Escape:
        return false; // the frame's close key
    default:
        break;
    }
    if (keys_.contains(key)) {
        buzzer(kKeyBeepMs);
        keys_.value(key)();
        return true;
    }
    const ParamCell &cell = current();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const QString choice = CellText::typed(cell, key - Qt::Key_0);
        if (!choice.isNull()) {
            buzzer(kKeyBeepMs);
            this->cell(column_, row_)->setText(choice);
            return true;
        }
        return !CellText::typable(cell);
    }
    if (key == Qt::Key_Minus)
        return !CellText::acceptsMinus(cell);
    return true; // nothing else reaches a cell's text
}

bool ParamGrid::eventFilter(QObject *watched, QEvent *event)
{
    const int index = cells_.indexOf(qobject_cast<MyLineEdit *>(watched));
    if (index < 0)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress)
        return keyPress(static_cast<QKeyEvent *>(event));
    if (event->type() == QEvent::MouseButtonPress) {
        emit signal_wantchange();
        const int c = index / table_.rows;
        const int r = index % table_.rows;
        if (c != column_ || r != row_)
            rewrite(column_, row_);
        moveTo(c, r);
        // After the press has placed the text cursor: digits then replace the whole text.
        QTimer::singleShot(0, cells_[index], &QLineEdit::selectAll);
    }
    return QWidget::eventFilter(watched, event);
}
