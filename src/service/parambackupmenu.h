#pragma once

#include "ui/listmenu.h"

class MachineData;

// The menu of the system parameter backup page: initialise, restore from the disk or the
// stick, back up to the disk or export to the stick. Every restore goes through the
// controller first (SystemBackup).
class ParamBackupMenu : public ListMenu
{
    Q_OBJECT

public:
    explicit ParamBackupMenu(MachineData &machine, QWidget *parent = nullptr, const char *name = "parambackupmenu");

    // Sends a block file to the controller and makes it current; false after its message.
    bool updateFromFile(const QString &path);
    // Writes the system block to path; false after its message.
    bool download(const QString &path);

public Q_SLOTS:
    void chooseItem(int column, int row);
    void initialiseParameters();
    void restoreFromDisk();
    void restoreFromStick();
    void backUpToDisk();
    void backUpToStick();

private:
    MachineData &machine_;
};
