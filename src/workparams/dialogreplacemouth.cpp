#include "dialogreplacemouth.h"

#include "dialogonemouth.h"
#include "workgrid.h"

#include "data/machinedata.h"
#include "data/protocol.h"

namespace {

constexpr int kPiecesWord = Protocol::PieceCountWord;

} // namespace

dialogreplacemouth::dialogreplacemouth(MachineData &machine, QWidget *parent)
    : QWidget(parent)
    , machine_(machine)
    , one_(new dialogonemouth(machine, this))
    , mul_(new WorkGrid(machine, WorkPage::mulmouth(), this))
{
    setObjectName(QStringLiteral("dialogreplacemouth"));
    for (WorkGrid *page : {static_cast<WorkGrid *>(one_), mul_}) {
        page->setGeometry(0, 0, 600, 340);
        connect(page, &WorkGrid::messageChanged, this, &dialogreplacemouth::messageChanged);
        connect(page, &WorkGrid::parametersChanged, this, &dialogreplacemouth::parametersChanged);
        connect(page, &WorkGrid::changeWanted, this, &dialogreplacemouth::changeWanted);
    }
}

void dialogreplacemouth::clear_press()
{
    (one_->isVisible() ? static_cast<WorkGrid *>(one_) : mul_)->clear_press();
}

void dialogreplacemouth::showEvent(QShowEvent *event)
{
    const bool single = machine_.system().word(kPiecesWord) < 2;
    one_->setVisible(single);
    mul_->setVisible(!single);
    QWidget::showEvent(event);
}
