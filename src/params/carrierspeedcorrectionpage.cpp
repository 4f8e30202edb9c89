#include "carrierspeedcorrectionpage.h"

#include "data/machinedata.h"
#include "data/carrierspeedtable.h"
#include "data/protocol.h"
#include "logic/params/parammessages.h"
#include "ui/operatordialogs.h"

namespace {

constexpr int kRows = CarrierSpeedTable::kBands / 2;

} // namespace

const ParamTable &CarrierSpeedCorrectionPage::paramTable()
{
    static const ParamTable table = [] {
        ParamTable t;
        t.columns = 4;
        t.rows = kRows;
        t.dotted = false;
        t.editWidth = 48;
        const QString speed = QString::fromUtf8(QT_TRANSLATE_NOOP("ParamCell", "机头速度"));
        t.labelHeaders = QStringList{speed, QString(), speed, QString()};
        const QString leftward = QString::fromUtf8(QT_TRANSLATE_NOOP("ParamCell", "左 行"));
        const QString rightward = QString::fromUtf8(QT_TRANSLATE_NOOP("ParamCell", "右 行"));
        t.headers = QStringList{leftward, rightward, leftward, rightward};
        // The left group holds the odd-numbered bands (b even), the right group the others.
        for (int c = 0; c < 4; ++c) {
            const bool left = c % 2 == 0;
            for (int r = 0; r < kRows; ++r) {
                const int band = 2 * r + c / 2;
                t.cells.append({left ? CarrierSpeedTable::bandText(band) : QString(), QT_TRANSLATE_NOOP("ParamCell", "参数范围 : -30 ~ 30"), CellKind::Signed, -30, 30,
                                CarrierSpeedTable::kBias, CarrierSpeedTable::word(band, left),
                                CarrierSpeedTable::address(band, left), nullptr});
            }
        }
        return t;
    }();
    return table;
}

CarrierSpeedCorrectionPage::CarrierSpeedCorrectionPage(MachineData &machine, QWidget *parent, const char *name)
    : ParamGrid(machine, paramTable(), Protocol::CarrierSpeedGroup, WordStore::of(copy_), parent, name)
{
}

void CarrierSpeedCorrectionPage::load()
{
    copy_ = machine().carrierSpeedTable().block();
}

void CarrierSpeedCorrectionPage::enterKey()
{
    if (confirmCurrent(ParamMessages::kRetry) != ParamEntry::Stored)
        return;
    for (const ParamCell &cell : table().cells)
        machine().carrierSpeedTable().setWord(std::size_t(cell.word), copy_.word(std::size_t(cell.word)));
    if (!CarrierSpeedTable::save(machine()))
        showMessage(this, tr("保存系统备份参数失败, 请重试 !"));
}
