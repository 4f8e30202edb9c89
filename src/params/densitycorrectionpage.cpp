#include "densitycorrectionpage.h"

#include "pagebuttons.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "logic/controller/controllercommands.h"
#include "logic/params/celltext.h"
#include "logic/params/parammessages.h"
#include "logic/params/settingcell.h"
#include "ui/operatordialogs.h"

#include <QLabel>

namespace {

constexpr int kGroup = Protocol::DensityGroup;

const SystemSettings::Grid &grid()
{
    return SystemSettings::grid(SystemSettings::GridName::DensityCorrection);
}

} // namespace

const ParamTable &DensityCorrectionPage::paramTable()
{
    static const ParamTable table = SettingCell::table(grid());
    return table;
}

DensityCorrectionPage::DensityCorrectionPage(MachineData &machine, QWidget *parent, const char *name)
    : ParamGrid(machine, paramTable(), kGroup, WordStore::of(machine.system()), parent, name)
{
    const int beside = 3 * table().columns;
    for (int c = 0; c < table().columns; ++c) {
        addBeside(new QLabel(CellText::translated(table().headers[c]), this), 0, beside + c);
        for (int m = 0; m < table().rows; ++m) {
            auto *label = new QLabel(this);
            label->setObjectName(QStringLiteral("backup"));
            label->setMinimumWidth(48);
            addBeside(label, firstRow() + m, beside + c);
            backupLabels_.append(label);
        }
    }
    auto *buttons = new PageButtons(this);
    buttons->add(tr("F1.备  份"), [this] { backUpCorrections(); });
    buttons->add(tr("F2.还  原"), [this] { restoreCorrections(); });
    buttons->add(tr("Pu.上一备份"), [this] { showPreviousBackup(); });
    buttons->add(tr("Pd.下一备份"), [this] { showNextBackup(); });
    addBeside(buttons, firstRow() + table().rows, 0, beside + 2);
    bindKey(Qt::Key_A, [this] { backUpCorrections(); });
    bindKey(Qt::Key_B, [this] { restoreCorrections(); });
    bindKey(Qt::Key_PageUp, [this] { showPreviousBackup(); });
    bindKey(Qt::Key_PageDown, [this] { showNextBackup(); });
}

QLabel *DensityCorrectionPage::backupLabel(int column, int motor) const
{
    return backupLabels_.value(column * table().rows + motor);
}

void DensityCorrectionPage::load()
{
    file_.read();
    backup_ = 0;
    showBackup(backup_);
}

QString DensityCorrectionPage::helpText(const ParamCell &) const
{
    return tr("参数范围 : -100 ~ 100     备份号 :%1").arg(backup_ + 1);
}

void DensityCorrectionPage::showBackup(int n)
{
    for (int c = 0; c < table().columns; ++c) {
        for (int m = 0; m < table().rows; ++m)
            backupLabel(c, m)->setText(QString::number(int(file_.value(n, table().at(c, m).word - grid().first)) - table().at(c, m).bias));
    }
    Q_EMIT messageChanged(helpText(current()));
}

void DensityCorrectionPage::showPreviousBackup()
{
    backup_ = (backup_ + DensityBackup::kRecords - 1) % DensityBackup::kRecords;
    showBackup(backup_);
}

void DensityCorrectionPage::showNextBackup()
{
    backup_ = (backup_ + 1) % DensityBackup::kRecords;
    showBackup(backup_);
}

void DensityCorrectionPage::backUpCorrections()
{
    if (askYesNo(this, tr("确定要将当前修正值存到备份号%1吗 ?").arg(backup_ + 1))) {
        file_.store(backup_, machine().system().block());
        showBackup(backup_);
        if (!file_.write())
            showMessage(this, tr("保存密度备份文件失败 !"));
    }
    focusCurrent();
}

void DensityCorrectionPage::restoreCorrections()
{
    if (!askYesNo(this, tr("确定要将备份号%1覆盖到修正值吗 ?").arg(backup_ + 1))) {
        focusCurrent();
        return;
    }
    // A backup never written holds zeros, a correction of -500 for every motor.
    if (!file_.restorable(backup_)) {
        showMessage(this, ParamMessages::text(ParamMessages::kOutOfRange));
        focusCurrent();
        return;
    }
    bool refused = false;
    // Every motor of a column, the shown and the other system's.
    for (int c = 0; c < grid().columns; ++c) {
        for (int m = 0; m < grid().columnStep; ++m) {
            const int offset = grid().columnStep * c + m;
            const unsigned short v = file_.value(backup_, offset);
            if (!ControllerCommands::send(Protocol::SetCommand, kGroup, static_cast<unsigned short>(grid().address + offset), v)) {
                refused = true;
                break; // on with the next column
            }
            machine().system().setWord(std::size_t(grid().first + offset), v);
        }
    }
    rewriteAll();
    showBackup(backup_);
    if (refused)
        showMessage(this, ParamMessages::text(ParamMessages::kRetry));
    focusCurrent();
}
