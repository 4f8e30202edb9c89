#include "rackingcorrectionpage.h"

#include "pagebuttons.h"
#include "rackingpositiondialog.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "data/rackingvalue.h"
#include "logic/controller/controllercommands.h"
#include "logic/params/parammessages.h"
#include "logic/params/settingcell.h"
#include "ui/celledit.h"
#include "ui/operatordialogs.h"

#include <QLabel>

namespace {

constexpr int kGroup = Protocol::RackingGroup;
const char *const kTitleNames[RackingValue::kColumns] = {QT_TRANSLATE_NOOP("ParamCell", "对 齐  "), QT_TRANSLATE_NOOP("ParamCell", "交 叉  "), QT_TRANSLATE_NOOP("ParamCell", "翻 针  ")};

} // namespace

const ParamTable &RackingCorrectionPage::paramTable()
{
    static const ParamTable table = [] {
        ParamTable t = SettingCell::table(SystemSettings::grid(SystemSettings::GridName::RackingCorrection));
        t.editWidth = 44;
        t.rowHeight = 18;
        return t;
    }();
    return table;
}

RackingCorrectionPage::RackingCorrectionPage(MachineData &machine, QWidget *parent, const char *name)
    : ParamGrid(machine, paramTable(), kGroup, WordStore::of(machine.system()), parent, name)
{
    for (int c = 0; c < table().columns; ++c) {
        for (int r = 0; r < table().rows; ++r) {
            auto *fine = new QLabel(this);
            fine->setObjectName(QStringLiteral("fine"));
            fine->setMinimumWidth(16);
            addBeside(fine, firstRow() + r, 3 * c + 2);
            fine_.append(fine);
        }
    }
    auto *buttons = new PageButtons(this);
    buttons->add(tr("E.开始摇床位置校正"), [this] { moveToPosition(); });
    buttons->add(tr("M.摇床位置整组修改"), [this] { fillColumn(); });
    addBeside(buttons, firstRow() + table().rows, 0, 3 * table().columns);
    bindKey(Qt::Key_M, [this] { fillColumn(); });
}

QLabel *RackingCorrectionPage::fineLabel(int column, int row) const
{
    return fine_.value(column * table().rows + row);
}

void RackingCorrectionPage::setCellValue(int column, int row, unsigned short value)
{
    if (CellEdit *e = cell(column, row))
        e->setText(RackingValue::coarseText(value));
    if (QLabel *fine = fineLabel(column, row))
        fine->setText(QString::number(RackingValue::fine(value)));
}

void RackingCorrectionPage::moveToPosition()
{
    const int c = column();
    const int r = row();
    if (!ControllerCommands::sendLong(Protocol::SetCommand, kGroup, static_cast<unsigned short>(RackingValue::kMoveIndex + RackingValue::index(c, r)), 0)) {
        showMessage(this, tr("摇床未移到指定位置, 请重试 !"));
        focusCurrent();
        return;
    }
    const QString position = r == 0 ? QStringLiteral("0 ") : RackingValue::position(r);
    RackingPositionDialog dialog(machine(), QString::fromUtf8(kTitleNames[c]) + position, this, c, r);
    dialog.exec();
    restore(c, r);
    focusCurrent();
}

void RackingCorrectionPage::fillColumn()
{
    if (!askYesNo(this, tr("是否整组修改该组参数 ?"))) {
        focusCurrent();
        return;
    }
    const int c = column();
    unsigned short value = 0;
    static const char *const kRefusals[] = {nullptr, QT_TR_NOOP("粗调参数错误 !"), QT_TR_NOOP("粗调参数超出范围 !"),
                                            QT_TR_NOOP("细调参数错误 !"), QT_TR_NOOP("细调参数超出范围 !")};
    const RackingValue::Result checked = RackingValue::encode(cell(c, row())->text(), fineLabel(c, row())->text(), 0, &value);
    // Refused by the controller: the column visibly keeps its values, and nothing more is said.
    if (checked != RackingValue::Ok) {
        showMessage(this, tr(kRefusals[checked]));
    } else if (ControllerCommands::send(Protocol::SetCommand, kGroup, static_cast<unsigned short>(RackingValue::kColumnIndex + c), value)) {
        for (int r = 0; r < table().rows; ++r) {
            machine().system().setWord(std::size_t(RackingValue::word(c, r)), value);
            restore(c, r);
        }
    }
    focusCurrent();
}
