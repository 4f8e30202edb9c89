#pragma once

#include "logic/machinetests/mototest.h"
#include "ui/screenframe.h"

#include <QList>

class ControllerTest;
class MachineData;
class BeepingButton;
class MotoGroupView;
class QLabel;
class QTimer;
class CarriageTestKeys;
class AutomaticTestKeys;

// The carriage test page ("Machine Parts Test"): the density motors, needle selectors, cams
// and yarn guides of the machine's systems, driven one by one from the keypad or in automatic
// cycles, with the states the controller reports. It is open while the controller is in its
// carriage test mode: closing asks the controller to leave the mode, and the page goes when
// the controller answers.
class CarriageTestPage : public ScreenFrame
{
    Q_OBJECT

public:
    static constexpr int kExtraStates = 8; // bytes 52-59 of the block

    explicit CarriageTestPage(MachineData &machine, QWidget *parent = nullptr);

    const MotoTest &test() const { return test_; }
    MotoGroupView *groupView(int group) const;
    BeepingButton *extraIndicator(int i) const { return extras_.value(i); }
    BeepingButton *menuButton() const { return menuButton_; }
    AutomaticTestKeys *sideMenu() const { return sideMenu_; }
    CarriageTestKeys *keyPanel() const { return panel_; }

public Q_SLOTS:
    // The close button and Escape: the leave command; the page stays until it is answered.
    void reject() override;
    void toggleSideMenu();

Q_SIGNALS:
    void panelCodeChanged(int number);

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void build();
    void select(int group, int kind);
    void showSelection();
    void showStates();
    void onTick();
    // Runs an automatic test for as long as its message is shown.
    void runCycle(int pattern, const QString &message);
    void runFrequency(int test);

    MachineData &machine_;
    ControllerTest *controller_;
    MotoTest test_;
    QList<MotoGroupView *> groups_;
    QList<BeepingButton *> extras_;
    QLabel *caption_ = nullptr;
    BeepingButton *menuButton_ = nullptr;
    AutomaticTestKeys *sideMenu_ = nullptr;
    CarriageTestKeys *panel_ = nullptr;
    QTimer *timer_;
    int shownGroup_ = -1;
    int shownKind_ = -1;
    bool leaving_ = false; // the leave command sent, its message on the help line
};
