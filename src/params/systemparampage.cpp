#include "systemparampage.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "logic/params/celltext.h"
#include "logic/params/parammessages.h"
#include "logic/params/settingcell.h"
#include "ui/celledit.h"
#include "ui/operatordialogs.h"

#include <QLabel>
#include <QTimer>

namespace {

constexpr int kFirstWord = 30;
constexpr int kRows = 10;
constexpr int kCells = 3 * kRows; // sent under their place on the page, 0-29
constexpr int kTaughtCells = 7;
constexpr int kBeltCell = 7;
constexpr int kFlushMs = 300;
constexpr int kNeedleOffset = Protocol::NeedleZero;

int cellNumber(const SystemParamPage &page)
{
    return page.column() * kRows + page.row();
}

// A taught or measured value's question, the value as %1.
QString question(int word)
{
    return CellText::translated(QString::fromUtf8(SystemSettings::shown(word)->question));
}

} // namespace

const ParamTable &SystemParamPage::paramTable()
{
    static const ParamTable table = [] {
        ParamTable t;
        t.columns = 3;
        t.rows = kRows;
        t.editWidth = 50;
        for (int k = 0; k < kCells; ++k)
            t.cells.append(SettingCell::of(kFirstWord + k, k));
        return t;
    }();
    return table;
}

SystemParamPage::SystemParamPage(MachineData &machine, QWidget *parent, const char *name)
    : ParamGrid(machine, paramTable(), Protocol::SystemParamGroup, WordStore::of(machine.system()), parent, name)
    , status_(new QLabel(this))
    , flush_(new QTimer(this))
{
    status_->setObjectName(QStringLiteral("status"));
    // A fixed size: a new text then repaints the label alone, without laying out the page.
    status_->setFixedSize(360, 18);
    // Under all three columns: in the first alone it would widen that column and starve the others.
    addBeside(status_, firstRow() + kRows, 0, 3 * table().columns);
    flush_->setInterval(kFlushMs);
    connect(flush_, &QTimer::timeout, this, &SystemParamPage::typeTaughtValue);
    bindKey(Qt::Key_A, [this] { f1Key(); });
    bindKey(Qt::Key_M, [this] { markOrClear(); });
}

void SystemParamPage::showEvent(QShowEvent *event)
{
    ParamGrid::showEvent(event);
    typeTaughtValue();
    flush_->start();
}

void SystemParamPage::hideEvent(QHideEvent *event)
{
    flush_->stop();
    ParamGrid::hideEvent(event);
}

void SystemParamPage::typeTaughtValue()
{
    const QString text = tr("脉冲数 : %1     针位 : %2")
                             .arg(machine().controllerState().word(Protocol::PulsesWord))
                             .arg(int(machine().controllerState().word(Protocol::NeedleWord)) - kNeedleOffset);
    // Repainted only when the carriage moved, so an open page costs nothing while it stands.
    if (status_->text() != text)
        status_->setText(text);
}

void SystemParamPage::ask(const QString &question, unsigned short value)
{
    if (askYesNo(this, question))
        showResult(entry().send(current(), value), ParamMessages::kRetry);
    restore(column(), row());
    focusCurrent();
}

void SystemParamPage::teach()
{
    // The position the question shows is the one sent: reports may move the carriage meanwhile.
    const unsigned short position = machine().controllerState().word(Protocol::NeedleWord);
    ask(question(kFirstWord + cellNumber(*this)).arg(int(position) - kNeedleOffset), position);
}

void SystemParamPage::measureBelt()
{
    const int right = machine().controllerState().word(Protocol::PulsesWord);
    const auto value = static_cast<unsigned short>(right > mark_ ? right - mark_ : mark_ - right);
    ask(question(kFirstWord + kBeltCell).arg(value), value);
}

void SystemParamPage::markOrClear()
{
    const int k = cellNumber(*this);
    if (k == kBeltCell) {
        mark_ = machine().controllerState().word(Protocol::PulsesWord);
        Q_EMIT messageChanged(tr("  < M >脉冲数 :%1").arg(mark_));
    } else if (k < kTaughtCells) {
        // The taught cells' keypad calls M "清零": an empty cell for a typed position.
        cell(column(), row())->clear();
    }
}

void SystemParamPage::enterKey()
{
    const int k = cellNumber(*this);
    if (k < kTaughtCells)
        teach();
    else if (k == kBeltCell)
        measureBelt();
    else
        confirmCurrent(ParamMessages::kRetry);
}

void SystemParamPage::f1Key()
{
    if (cellNumber(*this) <= kBeltCell)
        confirmCurrent(ParamMessages::kRetry);
}
