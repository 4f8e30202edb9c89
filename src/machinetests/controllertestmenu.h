#pragma once

#include "data/protocol.h"
#include "ui/screenframe.h"

class MachineData;
class ListMenu;

// The controller test menu of quick function 6: the carriage test and the input/output test,
// each opened once the controller has entered its test mode, and the rollers turned forward
// or backward while the machine stands.
class ControllerTestMenu : public ScreenFrame
{
    Q_OBJECT

public:
    explicit ControllerTestMenu(MachineData &machine, QWidget *parent = nullptr);

    ListMenu *menu() const { return menu_; }

public Q_SLOTS:
    void chooseItem(int column, int row);

private:
    void runTest(Protocol::TestKind test);
    void rollers(unsigned short action);

    MachineData &machine_;
    ListMenu *menu_;
};
