#pragma once

#include "ui/screenframe.h"

class MachineData;
class MarkableListMenu;

// The parameter repair menu start-up opens when the panel's and the controller's copies of
// the system or personalisation parameters disagree. Bit 0 of the mask: system parameters to
// repair; bit 1: personalisation parameters.
class ParamRepairMenu : public ScreenFrame
{
    Q_OBJECT

public:
    ParamRepairMenu(MachineData &machine, QWidget *parent, unsigned char mask);

    unsigned char mask() const { return mask_; }
    MarkableListMenu *menu() const { return menu_; }

    void markRepairs(unsigned char mask);

public Q_SLOTS:
    void chooseItem(int column, int row);
    void askCloseController();
    void refreshMarks();

private:
    // A repair asked with question; on Yes, with the carriage standing, action runs and its
    // bit is cleared when it succeeds.
    void repair(const char *question, bool (*action)(const MachineData &), unsigned char bit, const char *success,
                const char *failure);
    void shutdown();

    MachineData &machine_;
    unsigned char mask_;
    MarkableListMenu *menu_;
};
