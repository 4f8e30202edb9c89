#include "frequentsettingspage.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "logic/controller/controllercommands.h"
#include "logic/controller/controllermessages.h"
#include "logic/controller/updatebracket.h"
#include "logic/params/celltext.h"
#include "logic/params/parammessages.h"
#include "logic/params/settingcell.h"
#include "ui/celledit.h"
#include "ui/operatordialogs.h"

namespace {

enum Row { StartNeedle = 0, PieceTarget = 1, ClearPieces = 2, Collision = 5 };
constexpr int kGroup = Protocol::SystemGroup;

// A setting of the system block takes its label, kind and range from its description and keeps
// this page's own help line; the two actions are described here whole.
struct Line
{
    int address; // system block word and SetCommand index; -1 for the two actions
    const char *help;
    const char *label = nullptr;
    CellKind kind = CellKind::Empty;
    int min = 0, max = 0;
};

const char kHundred[] = QT_TRANSLATE_NOOP("ParamCell", "参数设置范围 : 1 - 100");

const Line kLines[FrequentSettingsPage::kRows] = {
    {0, QT_TRANSLATE_NOOP("ParamCell", "参数设置范围 : 1 - ")},
    {-1, QT_TRANSLATE_NOOP("ParamCell", "参数设置范围 : 1 - 50000"), QT_TRANSLATE_NOOP("ParamCell", "件数设定"), CellKind::Number, 1, 50000},
    {-1, QT_TRANSLATE_NOOP("ParamCell", "按 < 确定 > 键, 清零已经完成的件数."), QT_TRANSLATE_NOOP("ParamCell", "完成件数清零"), CellKind::Question},
    {6, kHundred},
    {7, kHundred},
    {8, QT_TRANSLATE_NOOP("ParamCell", "1 = 打开撞针使能, 2 = 关闭撞针使能.")},
    {9, kHundred},
    {10, QT_TRANSLATE_NOOP("ParamCell", "参数设置范围 : 1 - 8")},
    {11, QT_TRANSLATE_NOOP("ParamCell", "参数设置范围 : 5 - 50 ")},
};

} // namespace

const ParamTable &FrequentSettingsPage::paramTable()
{
    static const ParamTable table = [] {
        ParamTable t;
        t.rows = kRows;
        for (int r = 0; r < kRows; ++r) {
            const Line &l = kLines[r];
            ParamCell cell = l.address >= 0 ? SettingCell::of(l.address, l.address)
                                            : ParamCell{QString::fromUtf8(l.label), QString(), l.kind, l.min, l.max, 0, r, l.address, nullptr};
            cell.word = r; // the page's copy
            cell.help = QString::fromUtf8(l.help);
            t.cells.append(cell);
        }
        return t;
    }();
    return table;
}

FrequentSettingsPage::FrequentSettingsPage(MachineData &machine, QWidget *parent, const char *name)
    : ParamGrid(machine, paramTable(), kGroup,
                {[this](int i) { return i >= 0 && i < kRows ? copy_[std::size_t(i)] : 0; },
                 [this](int i, unsigned short v) {
                     if (i >= 0 && i < kRows)
                         copy_[std::size_t(i)] = v;
                 }},
                parent, name)
{
}

void FrequentSettingsPage::load()
{
    for (int r = 0; r < kRows; ++r) {
        const int address = kLines[r].address;
        if (address >= 0)
            copy_[std::size_t(r)] = machine().system().word(std::size_t(address));
    }
    copy_[PieceTarget] = machine().controllerState().word(Protocol::PiecesWord);
    copy_[ClearPieces] = machine().controllerState().word(Protocol::PiecesDoneWord);
}

void FrequentSettingsPage::hideEvent(QHideEvent *event)
{
    for (int r = 0; r < kRows; ++r) {
        if (kLines[r].address >= 0)
            machine().system().setWord(std::size_t(kLines[r].address), copy_[std::size_t(r)]);
    }
    ParamGrid::hideEvent(event);
}

bool FrequentSettingsPage::send(int row, unsigned short value, bool *closed)
{
    *closed = true;
    if (row == PieceTarget)
        return ControllerCommands::action(Protocol::SetPieces, value);
    if (row == ClearPieces)
        return ControllerCommands::action(Protocol::ClearPieces, 0);
    const UpdateBracket bracket(kGroup);
    if (!bracket.open())
        return false;
    const bool written = bracket.set(static_cast<unsigned short>(kLines[row].address), value);
    // Closed even when the write failed: the controller must not stay in the update.
    *closed = bracket.closeRetrying();
    return written;
}

void FrequentSettingsPage::enterKey()
{
    const int r = row();
    unsigned short value = 0;
    if (r == ClearPieces) {
        if (!askYesNo(this, tr("确定要清除已经完成的件数吗 ?")))
            return;
    } else {
        const CellText::Parsed p = parseCurrent();
        if (p.status == CellText::UnknownChoice)
            return;
        if (p.status == CellText::OutOfRange) {
            showResult(ParamEntry::OutOfRange, ParamMessages::kCheckNetwork);
            restore(0, r);
            focusCurrent();
            return;
        }
        value = p.stored;
    }
    bool closed = true;
    if (!ControllerCommands::stopped()) {
        showMessage(this, ControllerMessages::refusal(ParamMessages::text(ParamMessages::kRunning)));
    } else if (!send(r, value, &closed)) {
        showMessage(this, ParamMessages::text(ParamMessages::kCheckNetwork));
    } else {
        // Taken by the controller: kept even when the update then would not close.
        entry().keep(current(), value);
        if (r == PieceTarget)
            machine().controllerState().setWord(Protocol::PiecesWord, value);
        else if (r == ClearPieces)
            machine().controllerState().setWord(Protocol::PiecesDoneWord, 0);
        else
            machine().system().setWord(std::size_t(kLines[r].address), value);
        if (!closed)
            showMessage(this, ParamMessages::text(ParamMessages::kCheckNetwork));
    }
    restore(0, r);
    focusCurrent();
}
