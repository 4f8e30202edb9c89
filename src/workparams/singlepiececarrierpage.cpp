#include "singlepiececarrierpage.h"

#include "data/machinedata.h"
#include "ui/beepingcheckbox.h"
#include "ui/buzzer.h"
#include "ui/operatordialogs.h"

#include <QKeyEvent>
#include <QTimer>

SinglePieceCarrierPage::SinglePieceCarrierPage(MachineData &machine, QWidget *parent)
    : WorkGrid(machine, WorkPage::carrierReplacement(), parent)
    , switch_(new BeepingCheckBox(tr("M. 是否打开纱嘴替换功能"), this, "switch"))
{
    switch_->setGeometry(10, 250, 400, 30);
    switch_->setFocusPolicy(Qt::NoFocus);
    setFocusPolicy(Qt::StrongFocus);
    connect(switch_, &QAbstractButton::clicked, this, &SinglePieceCarrierPage::sendSwitch);
    bindKey(Qt::Key_M, [this] {
        switch_->toggle();
        sendSwitch();
    });
}

void SinglePieceCarrierPage::showEvent(QShowEvent *event)
{
    WorkGrid::showEvent(event);
    QTimer::singleShot(0, this, &SinglePieceCarrierPage::showSwitch);
}

void SinglePieceCarrierPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        switch_->setText(tr("M. 是否打开纱嘴替换功能"));
    WorkGrid::changeEvent(event);
}

bool SinglePieceCarrierPage::eventFilter(QObject *watched, QEvent *event)
{
    // Unlike its sister pages, this one beeps for Escape in a cell before the frame closes.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
        buzzer(kKeyBeepMs);
    return WorkGrid::eventFilter(watched, event);
}

void SinglePieceCarrierPage::showSwitch()
{
    const bool on = machine().system().word(kSwitchWord) == 1;
    switch_->setChecked(on);
    for (QWidget *w : gridWidgets())
        w->setVisible(on);
    drawPage(0, 0, 0);
    // With the grid hidden the page itself takes the keys, so M can switch replacement on again.
    if (!on)
        setFocus(Qt::OtherFocusReason);
}

void SinglePieceCarrierPage::sendSwitch()
{
    const bool on = switch_->isChecked();
    const WorkEntry::Result result = WorkEntry::send(machine(), WorkEntry::kSystemGroup, {kSwitchWord}, on ? 1 : 0,
                                                     [this] { Q_EMIT parametersChanged(); });
    if (result != WorkEntry::Stored)
        showMessage(this, WorkEntry::message(result));
    showSwitch();
}
