#include "carrierreplacementtab.h"

#include "singlepiececarrierpage.h"
#include "workgrid.h"

#include "data/machinedata.h"
#include "data/protocol.h"

namespace {

constexpr int kPiecesWord = Protocol::PieceCountWord;

} // namespace

CarrierReplacementTab::CarrierReplacementTab(MachineData &machine, QWidget *parent)
    : QWidget(parent)
    , machine_(machine)
    , one_(new SinglePieceCarrierPage(machine, this))
    , mul_(new WorkGrid(machine, WorkPage::pieceCarrierReplacement(), this))
{
    setObjectName(QStringLiteral("carrierreplacementtab"));
    for (WorkGrid *page : {static_cast<WorkGrid *>(one_), mul_}) {
        page->setGeometry(0, 0, 600, 340);
        connect(page, &WorkGrid::messageChanged, this, &CarrierReplacementTab::messageChanged);
        connect(page, &WorkGrid::parametersChanged, this, &CarrierReplacementTab::parametersChanged);
        connect(page, &WorkGrid::changeWanted, this, &CarrierReplacementTab::changeWanted);
    }
}

void CarrierReplacementTab::clearKey()
{
    (one_->isVisible() ? static_cast<WorkGrid *>(one_) : mul_)->clearKey();
}

void CarrierReplacementTab::showEvent(QShowEvent *event)
{
    const bool single = machine_.system().word(kPiecesWord) < 2;
    one_->setVisible(single);
    mul_->setVisible(!single);
    QWidget::showEvent(event);
}
