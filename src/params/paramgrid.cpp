#include "paramgrid.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "logic/params/celltext.h"
#include "logic/params/parammessages.h"
#include "ui/buzzer.h"
#include "ui/celledit.h"
#include "ui/dottedlabel.h"
#include "ui/operatordialogs.h"
#include "ui/panelfonts.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {

constexpr int kCellLength = 8;
constexpr int kFullRows = 12;

} // namespace

ParamGrid::ParamGrid(MachineData &machine, const ParamTable &table, int group, WordStore store, QWidget *parent, const char *name)
    : CellGrid(table.columns, table.rows, Touch::PassedOn, parent)
    , machine_(machine)
    , table_(table)
    , entry_(group, std::move(store))
    , layout_(new QGridLayout(this))
    , choices_(table.cells.size(), -1)
{
    setObjectName(QString::fromLatin1(name));
    layout_->setContentsMargins(4, 4, 4, 4);
    layout_->setHorizontalSpacing(4);
    // A table that sets its row height packs its rows (the racking table's 17 and its buttons).
    layout_->setVerticalSpacing(table_.rowHeight > 0 ? 0 : 2);
    headerRows_ = table_.headers.isEmpty() && table_.labelHeaders.isEmpty() ? 0 : 1;
    for (int c = 0; c < table_.columns; ++c) {
        if (c < table_.labelHeaders.size())
            layout_->addWidget(new QLabel(CellText::translated(table_.labelHeaders[c]), this), 0, 3 * c);
        if (c < table_.headers.size())
            layout_->addWidget(new QLabel(CellText::translated(table_.headers[c]), this), 0, 3 * c + 1);
    }
    for (int c = 0; c < table_.columns; ++c) {
        for (int r = 0; r < table_.rows; ++r) {
            const ParamCell &cell = table_.at(c, r);
            if (!cell.label.isNull()) {
                const QString text = CellText::translated(cell.label);
                QLabel *label = table_.dotted ? new DottedLabel(text, this) : new QLabel(text, this);
                layout_->addWidget(label, headerRows_ + r, 3 * c);
            }
            auto *edit = new CellEdit(this, "cell");
            edit->setFixedWidth(table_.editWidth);
            if (table_.rowHeight > 0)
                edit->setFixedHeight(table_.rowHeight);
            edit->setMaxLength(kCellLength);
            edit->setReadOnly(cell.kind == CellKind::Empty || cell.kind == CellKind::Racking);
            layout_->addWidget(edit, headerRows_ + r, 3 * c + 1);
            addCell(edit);
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

void ParamGrid::setCellValue(int column, int row, unsigned short value)
{
    if (CellEdit *e = cell(column, row)) {
        e->setText(CellText::show(table_.at(column, row), value));
        choices_[column * table_.rows + row] = CellText::shownChoice(table_.at(column, row), value);
    }
}

void ParamGrid::restore(int column, int row)
{
    if (cell(column, row))
        setCellValue(column, row, entry_.stored(table_.at(column, row)));
}

void ParamGrid::rewriteAll()
{
    for (int c = 0; c < table_.columns; ++c) {
        for (int r = 0; r < table_.rows; ++r)
            restore(c, r);
    }
}

void ParamGrid::cursorMoved()
{
    Q_EMIT messageChanged(helpText(current()));
    emitPanelCode();
}

void ParamGrid::emitPanelCode()
{
    Q_EMIT panelCodeChanged(CellText::panel(current()));
}

void ParamGrid::reloadFields()
{
    load();
    rewriteAll();
    moveTo(0, 0);
}

void ParamGrid::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    QTimer::singleShot(0, this, &ParamGrid::reloadFields);
}

QString ParamGrid::helpText(const ParamCell &cell) const
{
    return CellText::help(cell, bedWidth());
}

int ParamGrid::bedWidth() const
{
    return machine_.system().word(Protocol::BedWidthWord);
}

void ParamGrid::addBeside(QWidget *widget, int row, int layoutColumn, int columnSpan)
{
    layout_->addWidget(widget, row, layoutColumn, 1, columnSpan);
}

void ParamGrid::showResult(ParamEntry::Result result, const char *refusedMessage)
{
    if (result == ParamEntry::OutOfRange)
        showMessage(this, ParamMessages::text(ParamMessages::kOutOfRange));
    else if (result == ParamEntry::Refused)
        showMessage(this, ParamMessages::text(refusedMessage));
}

ParamEntry::Result ParamGrid::confirmCurrent(const char *refusedMessage)
{
    const ParamEntry::Result result = entry_.confirm(current(), parseCurrent());
    showResult(result, refusedMessage);
    restore(column(), row());
    focusCurrent();
    return result;
}

CellText::Parsed ParamGrid::parseCurrent() const
{
    const ParamCell &c = current();
    if (c.kind == CellKind::Choice)
        return CellText::choose(c, choices_[column() * table_.rows + row()], bedWidth());
    return CellText::parse(c, cell(column(), row())->text(), bedWidth());
}

void ParamGrid::enterKey()
{
    confirmCurrent(ParamMessages::kRetry);
}

void ParamGrid::clearKey()
{
    restore(column(), row());
    focusCurrent();
}

bool ParamGrid::otherKey(int key)
{
    const ParamCell &cell = current();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const int choice = CellText::typedChoice(cell, key - Qt::Key_0);
        if (choice >= 0) {
            buzzer(kKeyBeepMs);
            this->cell(column(), row())->setText(CellText::typed(cell, choice));
            choices_[column() * table_.rows + row()] = choice;
            return true;
        }
        return !CellText::typable(cell);
    }
    if (key == Qt::Key_Minus)
        return !CellText::acceptsMinus(cell);
    return true; // nothing else reaches a cell's text
}
