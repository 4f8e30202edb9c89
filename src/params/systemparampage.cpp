#include "systemparampage.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "logic/params/celltext.h"
#include "logic/params/parammessages.h"
#include "ui/celledit.h"
#include "ui/operatordialogs.h"

#include <QLabel>
#include <QTimer>

namespace {

constexpr int kFirstWord = 30;
constexpr int kRows = 10;
constexpr int kTaughtCells = 7;
constexpr int kBeltCell = 7;
constexpr int kFlushMs = 300;
constexpr int kNeedleOffset = Protocol::NeedleZero;

struct Row
{
    const char *label;
    CellKind kind;
    int min, max;
    const char *help;
    const char *question; // taught cells: the value as %1
    const ChoiceSet *choices = nullptr;
};

const Row kCells[] = {
    {QT_TRANSLATE_NOOP("ParamCell", "针零位"), CellKind::Taught, -500, 2000, QT_TRANSLATE_NOOP("ParamCell", "机头移动到零位,按确定键."), QT_TRANSLATE_NOOP("ParamCell", "设置针零位为: %1")},
    {QT_TRANSLATE_NOOP("ParamCell", "左系统纱嘴右行零位"), CellKind::Taught, -500, 2000, QT_TRANSLATE_NOOP("ParamCell", "机头移动到左系统纱嘴右行零位,按<确定>键."), QT_TRANSLATE_NOOP("ParamCell", "设置左系统纱嘴右行零位为: %1")},
    {QT_TRANSLATE_NOOP("ParamCell", "左系统纱嘴左行零位"), CellKind::Taught, -500, 2000, QT_TRANSLATE_NOOP("ParamCell", "机头移动到左系统纱嘴左行零位,按<确定>键."), QT_TRANSLATE_NOOP("ParamCell", "设置左系统纱嘴左行零位为: %1")},
    {QT_TRANSLATE_NOOP("ParamCell", "右系统纱嘴右行零位"), CellKind::Taught, -500, 2000, QT_TRANSLATE_NOOP("ParamCell", "机头移动到右系统纱嘴右行零位,按<确定>键."), QT_TRANSLATE_NOOP("ParamCell", "设置右系统纱嘴右行零位为: %1")},
    {QT_TRANSLATE_NOOP("ParamCell", "右系统纱嘴左行零位"), CellKind::Taught, -500, 2000, QT_TRANSLATE_NOOP("ParamCell", "机头移动到右系统纱嘴左行零位,按<确定>键."), QT_TRANSLATE_NOOP("ParamCell", "设置右系统纱嘴左行零位为: %1")},
    {QT_TRANSLATE_NOOP("ParamCell", "机头右限位"), CellKind::Taught, -500, 2000, QT_TRANSLATE_NOOP("ParamCell", "机头移动到机头右限位,按<确定>键."), QT_TRANSLATE_NOOP("ParamCell", "设置机头右限位为: %1")},
    {QT_TRANSLATE_NOOP("ParamCell", "机头左限位"), CellKind::Taught, -500, 2000, QT_TRANSLATE_NOOP("ParamCell", "机头移动到机头左限位,按<确定>键."), QT_TRANSLATE_NOOP("ParamCell", "设置机头左限位为: %1")},
    {QT_TRANSLATE_NOOP("ParamCell", "同步带齿距校正"), CellKind::Belt, 1, 65000,
     QT_TRANSLATE_NOOP("ParamCell", "先移动机头到针板左边,按< M >键 , 再移动机头到针板右边,按< 确定 >键."), QT_TRANSLATE_NOOP("ParamCell", "设置同步带齿距校正为: %1")},
    {QT_TRANSLATE_NOOP("ParamCell", "选针器右补偿"), CellKind::Signed, -10, 10, QT_TRANSLATE_NOOP("ParamCell", "参数范围 : -10 ~ 10"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "选针器左补偿"), CellKind::Signed, -10, 10, QT_TRANSLATE_NOOP("ParamCell", "参数范围 : -10 ~ 10"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "纱嘴下落提前量"), CellKind::Number, 1, 100, QT_TRANSLATE_NOOP("ParamCell", "参数范围:1 ~ 100"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "纱嘴抬起提前量"), CellKind::Number, 1, 20, QT_TRANSLATE_NOOP("ParamCell", "参数范围:1 ~ 20"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "电磁铁高压"), CellKind::Number, 2, 10, QT_TRANSLATE_NOOP("ParamCell", "参数范围:2 ~ 10"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "选针器高压"), CellKind::Number, 2, 10, QT_TRANSLATE_NOOP("ParamCell", "参数范围:2 ~ 10"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "选针器低压"), CellKind::Number, 2, 10, QT_TRANSLATE_NOOP("ParamCell", "参数范围:2 ~ 10"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "密度电机复位速度"), CellKind::Number, 2, 10, QT_TRANSLATE_NOOP("ParamCell", "参数范围:2 ~ 10"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "密度电机最高复位速度"), CellKind::Number, 1, 10, QT_TRANSLATE_NOOP("ParamCell", "参数范围:1 ~ 10"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "生克有效"), CellKind::Choice, 1, 2, QT_TRANSLATE_NOOP("ParamCell", "1 = 打开, 2 = 关闭"), nullptr, &kOnOff},
    {QT_TRANSLATE_NOOP("ParamCell", "选针器停止关闭时间"), CellKind::Number, 1, 10, QT_TRANSLATE_NOOP("ParamCell", "参数范围:1 ~ 10"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "选针器重选节能使能"), CellKind::Choice, 1, 2, QT_TRANSLATE_NOOP("ParamCell", "1 = 打开, 2 = 关闭"), nullptr, &kOnOff},
    {QT_TRANSLATE_NOOP("ParamCell", "摇床丝杆修正"), CellKind::Signed, 0, 500, QT_TRANSLATE_NOOP("ParamCell", "参数范围:  0 ~ 500"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "摇床速度设置(普通)"), CellKind::Number, 0, 100, QT_TRANSLATE_NOOP("ParamCell", "参数范围:  0   ~ 100"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "摇床速度设置( 高 )"), CellKind::Number, 0, 100, QT_TRANSLATE_NOOP("ParamCell", "参数范围:  0   ~ 100"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "摇床速度设置( 低 )"), CellKind::Number, 0, 100, QT_TRANSLATE_NOOP("ParamCell", "参数范围:  0   ~ 100"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "系统锁定设置"), CellKind::Choice, 0, 2, QT_TRANSLATE_NOOP("ParamCell", "1 = 左系统, 2 = 右系统, 0 = 不锁定"), nullptr, &kLock},
    {QT_TRANSLATE_NOOP("ParamCell", "主编码器输出线数"), CellKind::Number, 100, 10000, QT_TRANSLATE_NOOP("ParamCell", "参数范围:  100   ~ 10000"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "移床编码器输出线数"), CellKind::Number, 100, 10000, QT_TRANSLATE_NOOP("ParamCell", "参数范围:  100   ~ 10000"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "每英寸针数"), CellKind::Number, 1, 20, QT_TRANSLATE_NOOP("ParamCell", "参数范围:  1   ~ 20"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "针板总针数"), CellKind::Number, 1, 1500, QT_TRANSLATE_NOOP("ParamCell", "参数范围:  1   ~ 1500"), nullptr},
    {QT_TRANSLATE_NOOP("ParamCell", "密度参数默认组"), CellKind::Number, 0, 24, QT_TRANSLATE_NOOP("ParamCell", "参数范围:  0   ~ 24"), nullptr},
};

bool signedKind(CellKind kind)
{
    return kind == CellKind::Signed || kind == CellKind::Taught;
}

int cellNumber(const SystemParamPage &page)
{
    return page.column() * kRows + page.row();
}

} // namespace

const ParamTable &SystemParamPage::paramTable()
{
    static const ParamTable table = [] {
        ParamTable t;
        t.columns = 3;
        t.rows = kRows;
        t.editWidth = 50;
        for (int k = 0; k < int(std::size(kCells)); ++k) {
            const Row &row = kCells[k];
            t.cells.append({row.label, row.help, row.kind, row.min, row.max, signedKind(row.kind) ? kNeedleOffset : 0,
                            kFirstWord + k, k, row.choices});
        }
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
    ask(CellText::translated(QString::fromUtf8(kCells[cellNumber(*this)].question)).arg(int(position) - kNeedleOffset), position);
}

void SystemParamPage::measureBelt()
{
    const int right = machine().controllerState().word(Protocol::PulsesWord);
    const auto value = static_cast<unsigned short>(right > mark_ ? right - mark_ : mark_ - right);
    ask(CellText::translated(QString::fromUtf8(kCells[kBeltCell].question)).arg(value), value);
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
