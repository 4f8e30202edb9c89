#pragma once

#include "ui/listmenu.h"

class MachineData;

// The software update menu: the panel program, the main and slave controllers' programs, all
// three from one stick folder, and the controller's driver modules. Rows 1-3 show the versions
// the panel and the controllers run.
class SoftwareUpdateMenu : public ListMenu
{
    Q_OBJECT

public:
    // One controller's update: object code, image, browser caption and filter, status text.
    struct Controller;

    explicit SoftwareUpdateMenu(MachineData &machine, QWidget *parent = nullptr, const char *name = "softwareupdatemenu");

public Q_SLOTS:
    void chooseItem(int column, int row);
    void updatePanelProgram();
    void updateMaster();
    void updateSlave();
    void updateAll();
    void updateDriver();

private:
    void updateController(const Controller &c);
    void status(const QString &text);
};
