#pragma once

#include "workgrid.h"

#include "data/protocol.h"

class BeepingCheckBox;

// The single-piece carrier replacement: the grid of the carriers' replacements and the switch
// that turns replacement on (system block word 25, key M); the grid shows only while it is on.
class SinglePieceCarrierPage : public WorkGrid
{
    Q_OBJECT

public:
    static constexpr int kSwitchWord = Protocol::CarrierReplacementWord;

    explicit SinglePieceCarrierPage(MachineData &machine, QWidget *parent = nullptr);
    BeepingCheckBox *switchBox() const { return switch_; }

public Q_SLOTS:
    void showSwitch();
    // The box was toggled: the new state goes to the controller, or the box goes back.
    void sendSwitch();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    BeepingCheckBox *switch_;
};
