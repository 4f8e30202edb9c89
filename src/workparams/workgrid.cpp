#include "workgrid.h"

#include "data/parablocks.h"
#include "data/protocol.h"
#include "data/paraformat.h"
#include "data/worklayout.h"
#include "ui/buzzer.h"
#include "ui/mylineedit.h"
#include "ui/operatordialogs.h"
#include "ui/panelfonts.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {

constexpr int kTop = 35;
constexpr int kRowStep = 37;
constexpr int kSpeedWord = Protocol::SpeedUnitWord;
constexpr double kSpeedDivisor = 100000;

} // namespace

int WorkGrid::keypadKey(int key)
{
    if (key >= Qt::Key_F1 && key <= Qt::Key_F6)
        return Qt::Key_A + (key - Qt::Key_F1);
    return key == Qt::Key_Return ? Qt::Key_Enter : key;
}

WorkGrid::WorkGrid(const WorkPage &page, QWidget *parent)
    : QWidget(parent)
    , page_(page)
{
    setObjectName(QLatin1String(page.name));
    setFont(PanelFonts::panel());
    for (int c = 0; c < page.columns; ++c) {
        auto *title = new QLabel(page.titles.value(c), this);
        title->setObjectName(QStringLiteral("colname"));
        title->setGeometry(page.x0 + page.xStep * c - 10, 10, page.xStep - 10, 19);
        titles_ << title;
        for (int r = 0; r < page.rows; ++r) {
            auto *edit = new MyLineEdit(this, "cell");
            edit->setGeometry(page.x0 + page.xStep * c, kTop + kRowStep * r, kCellWidth, kCellHeight);
            edit->setMaxLength(5);
            edit->installEventFilter(this);
            cells_ << edit;
        }
    }
    for (int r = 0; r < page.rows; ++r) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("label"));
        label->setGeometry(10, kTop + kRowStep * r, page.x0 - 20, kCellHeight);
        labels_ << label;
        if (page.speedLabels) {
            auto *speed = new QLabel(this);
            speed->setObjectName(QStringLiteral("result"));
            speed->setGeometry(page.x0 + kCellWidth + 20, kTop + kRowStep * r, 120, kCellHeight);
            speeds_ << speed;
        }
    }
    bindKey(Qt::Key_Left, [this] { move(-1, 0); });
    bindKey(Qt::Key_Right, [this] { move(1, 0); });
    bindKey(Qt::Key_Up, [this] { move(0, -1); });
    bindKey(Qt::Key_Down, [this] { move(0, 1); });
    bindKey(Qt::Key_PageUp, [this] { turn(-1); });
    bindKey(Qt::Key_PageDown, [this] { turn(1); });
    bindKey(Qt::Key_Enter, [this] { enter_press(false); });
    bindKey(Qt::Key_Backspace, [this] { clear_press(); });
    if (page.whole != WorkPage::NoWhole)
        bindKey(Qt::Key_M, [this] { enter_press(true); });
}

MyLineEdit *WorkGrid::cell(int column, int row) const
{
    if (column < 0 || column >= page_.columns || row < 0 || row >= page_.rows)
        return nullptr;
    return cells_[column * page_.rows + row];
}

QList<QWidget *> WorkGrid::gridWidgets() const
{
    QList<QWidget *> all;
    for (QWidget *w : cells_)
        all << w;
    for (QWidget *w : labels_ + titles_ + speeds_)
        all << w;
    return all;
}

void WorkGrid::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Loaded once visible, so the focus it takes sticks.
    QTimer::singleShot(0, this, &WorkGrid::slot_setfocus);
}

void WorkGrid::slot_setfocus()
{
    // Hidden again meanwhile (the replacement page not chosen): its help line is not the one shown.
    if (!isVisible())
        return;
    drawpage(0, 0, 0);
}

void WorkGrid::showSpeed(int row)
{
    if (QLabel *label = speeds_.value(row)) {
        const int entry = page_.word(0, row, pageNo_) - page_.base;
        label->setText(floattostr(double(para_system.word(kSpeedWord)) * para_work.word(std::size_t(page_.base + entry)),
                                  kSpeedDivisor));
    }
}

void WorkGrid::restore(int column, int row)
{
    if (MyLineEdit *e = cell(column, row))
        e->setText(QString::number(para_work.word(std::size_t(page_.word(column, row, pageNo_)))));
    if (column == 0)
        showSpeed(row);
}

void WorkGrid::clear_press()
{
    restore(column_, row_);
    focusCurrent();
}

void WorkGrid::focusCurrent()
{
    if (MyLineEdit *e = cell(column_, row_)) {
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
    }
}

void WorkGrid::drawpage(int column, int row, int page)
{
    column_ = column;
    row_ = row;
    pageNo_ = page;
    for (int c = 0; c < page_.columns; ++c) {
        for (int r = 0; r < page_.rows; ++r)
            restore(c, r);
    }
    for (int r = 0; r < page_.rows; ++r)
        labels_[r]->setText(page_.rowLabel(r, page));
    focusCurrent();
    Q_EMIT signal_paintmsg(page_.helpLine(page));
}

void WorkGrid::move(int dColumn, int dRow)
{
    if (!cell(column_ + dColumn, row_ + dRow))
        return; // at the edge
    restore(column_, row_);
    column_ += dColumn;
    row_ += dRow;
    focusCurrent();
}

void WorkGrid::turn(int dPage)
{
    const int page = pageNo_ + dPage;
    if (page >= 0 && page < page_.pages)
        drawpage(0, 0, page);
}

void WorkGrid::enter_press(bool whole)
{
    unsigned short value = 0;
    if (!WorkEntry::parse(cell(column_, row_)->text(), page_.min, page_.max, &value)) {
        DIAMESSAGE(this, WorkEntry::message(WorkEntry::OutOfRange));
        restore(column_, row_);
        focusCurrent();
        return;
    }
    if (whole && !DIAYESNO(this, QStringLiteral("确定要正组修改吗 ?")))
        return;
    const QList<int> words = whole ? page_.wholeWords(column_, row_, pageNo_)
                                   : QList<int>{page_.word(column_, row_, pageNo_)};
    QList<int> addresses;
    for (const int w : words)
        addresses << WorkLayout::address(page_.group, w);
    const WorkEntry::Result result = WorkEntry::send(page_.group, addresses, value, [this] { Q_EMIT signal_parachange(); });
    if (result != WorkEntry::Stored)
        DIAMESSAGE(this, WorkEntry::message(result));
    // Running or not opened: the typed text stays for another try; otherwise the cells show
    // what the controller holds now.
    if (result != WorkEntry::Running && result != WorkEntry::OpenRefused)
        drawpage(column_, row_, pageNo_);
    focusCurrent();
}

bool WorkGrid::keyPress(QKeyEvent *event)
{
    const int key = keypadKey(event->key());
    if (keys_.contains(key)) {
        buzzer(kKeyBeepMs);
        keys_.value(key)();
        return true;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        buzzer(kKeyBeepMs);
        return false;
    }
    if (key == Qt::Key_Escape)
        return false; // the frame closes
    if (key >= Qt::Key_A && key <= Qt::Key_F && window() != this) {
        // The tab keys act from a cell as from the dialog.
        QKeyEvent tab(QEvent::KeyPress, key, Qt::NoModifier, QString());
        QCoreApplication::sendEvent(window(), &tab);
    }
    return true;
}

void WorkGrid::keyPressEvent(QKeyEvent *event)
{
    if (!keyPress(event))
        QWidget::keyPressEvent(event);
}

bool WorkGrid::eventFilter(QObject *watched, QEvent *event)
{
    const int index = cells_.indexOf(qobject_cast<MyLineEdit *>(watched));
    if (index < 0)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress)
        return keyPress(static_cast<QKeyEvent *>(event));
    if (event->type() == QEvent::MouseButtonPress) {
        Q_EMIT signal_wantchange();
        restore(column_, row_);
        column_ = index / page_.rows;
        row_ = index % page_.rows;
        buzzer(kKeyBeepMs);
        focusCurrent();
        // After the press has placed the text cursor: digits then replace the whole text.
        QTimer::singleShot(0, cells_[index], &QLineEdit::selectAll);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
