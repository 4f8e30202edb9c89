#include "workgrid.h"

#include "data/machinedata.h"
#include "data/numberformat.h"
#include "data/protocol.h"
#include "data/worklayout.h"
#include "ui/buzzer.h"
#include "ui/celledit.h"
#include "ui/operatordialogs.h"
#include "ui/panelfonts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace {

constexpr int kTop = 35;
constexpr int kRowStep = 37;
constexpr int kSpeedWord = Protocol::SpeedUnitWord;
constexpr double kSpeedDivisor = 100000;
constexpr Qt::GlobalColor kUntaken = Qt::red;

} // namespace

WorkGrid::WorkGrid(MachineData &machine, const WorkPage &page, QWidget *parent)
    : CellGrid(page.columns, page.rows, Touch::Taken, parent)
    , machine_(machine)
    , page_(page)
{
    setObjectName(QLatin1String(page.name));
    setFont(PanelFonts::panel());
    for (int c = 0; c < page.columns; ++c) {
        auto *title = new QLabel(this);
        title->setObjectName(QStringLiteral("colname"));
        title->setGeometry(page.x0 + page.xStep * c - 10, 10, page.xStep - 10, 19);
        titles_ << title;
        for (int r = 0; r < page.rows; ++r) {
            auto *edit = new CellEdit(this, "cell");
            edit->setGeometry(page.x0 + page.xStep * c, kTop + kRowStep * r, kCellWidth, kCellHeight);
            edit->setMaxLength(5);
            addCell(edit);
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
    retranslate();
    bindKey(Qt::Key_PageUp, [this] { turn(-1); });
    bindKey(Qt::Key_PageDown, [this] { turn(1); });
    if (page.whole != WorkPage::NoWhole)
        bindKey(Qt::Key_M, [this] { enterKey(true); });
}

QList<QWidget *> WorkGrid::gridWidgets() const
{
    QList<QWidget *> all;
    for (QWidget *w : cells())
        all << w;
    for (QWidget *w : labels_ + titles_ + speeds_)
        all << w;
    return all;
}

void WorkGrid::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Loaded once visible, so the focus it takes sticks.
    QTimer::singleShot(0, this, &WorkGrid::reloadFields);
}

void WorkGrid::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        if (isVisible())
            Q_EMIT messageChanged(page_.helpLine(pageNo_));
    }
    CellGrid::changeEvent(event);
}

void WorkGrid::retranslate()
{
    for (int c = 0; c < int(titles_.size()); ++c)
        titles_[c]->setText(WorkPage::text(page_.titles.value(c).toUtf8().constData()));
    for (int r = 0; r < int(labels_.size()); ++r)
        labels_[r]->setText(page_.rowLabel(r, pageNo_));
}

void WorkGrid::reloadFields()
{
    // Hidden again meanwhile (the replacement page not chosen): its help line is not the one shown.
    if (!isVisible())
        return;
    drawPage(0, 0, 0);
}

void WorkGrid::showSpeed(int row)
{
    if (QLabel *label = speeds_.value(row)) {
        const int entry = page_.word(0, row, pageNo_) - page_.base;
        label->setText(speedText(double(machine_.system().word(kSpeedWord)) * machine_.work().word(std::size_t(page_.base + entry)),
                                  kSpeedDivisor));
    }
}

void WorkGrid::restore(int column, int row)
{
    if (CellEdit *e = cell(column, row)) {
        e->setText(QString::number(machine_.work().word(std::size_t(page_.word(column, row, pageNo_)))));
        showTaken(e, true);
    }
    if (column == 0)
        showSpeed(row);
}

void WorkGrid::clearKey()
{
    restore(column(), row());
    focusCurrent();
}

void WorkGrid::drawPage(int column, int row, int page)
{
    pageNo_ = page;
    for (int c = 0; c < page_.columns; ++c) {
        for (int r = 0; r < page_.rows; ++r)
            restore(c, r);
    }
    retranslate();
    moveTo(column, row);
    Q_EMIT messageChanged(page_.helpLine(page));
}

void WorkGrid::turn(int dPage)
{
    const int page = pageNo_ + dPage;
    if (page >= 0 && page < page_.pages)
        drawPage(0, 0, page);
}

void WorkGrid::enterKey(bool whole)
{
    unsigned short value = 0;
    if (!WorkEntry::parse(cell(column(), row())->text(), page_.min, page_.max, &value)) {
        showMessage(this, WorkEntry::message(WorkEntry::OutOfRange));
        restore(column(), row());
        focusCurrent();
        return;
    }
    if (whole && !askYesNo(this, tr("确定要正组修改吗 ?")))
        return;
    const QList<int> words = whole ? page_.wholeWords(column(), row(), pageNo_)
                                   : QList<int>{page_.word(column(), row(), pageNo_)};
    QList<int> addresses;
    for (const int w : words)
        addresses << WorkLayout::address(page_.group, w);
    const WorkEntry::Result result = WorkEntry::send(machine_, page_.group, addresses, value, [this] { Q_EMIT parametersChanged(); });
    // A whole group stops at the first write refused, in silence: the row then shows what the
    // controller holds.
    if (result != WorkEntry::Stored && !(whole && result == WorkEntry::Refused))
        showMessage(this, WorkEntry::message(result));
    // Running or not opened: the typed text stays for another try, drawn as not taken until
    // Enter takes it or the stored value returns; otherwise the cells show what the controller
    // holds now.
    if (result != WorkEntry::Running && result != WorkEntry::OpenRefused)
        drawPage(column(), row(), pageNo_);
    else
        showTaken(cell(column(), row()), false);
    focusCurrent();
}

bool WorkGrid::taken(int column, int row) const
{
    const CellEdit *e = cell(column, row);
    return e && e->palette().color(QPalette::Text) != QColor(kUntaken);
}

void WorkGrid::showTaken(CellEdit *cell, bool taken)
{
    if (!taken) {
        QPalette red = cell->palette();
        // Selected, as the current cell's text is, it is still red.
        red.setColor(QPalette::Text, kUntaken);
        red.setColor(QPalette::HighlightedText, kUntaken);
        cell->setPalette(red);
    } else if (cell->testAttribute(Qt::WA_SetPalette)) {
        cell->setPalette(QPalette()); // the page's colours again
    }
}

bool WorkGrid::otherKey(int key)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        buzzer(kKeyBeepMs);
        return false;
    }
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
