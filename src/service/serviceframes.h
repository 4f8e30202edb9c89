#pragma once

#include "serviceframe.h"

#include "clockpage.h"
#include "desktopsettingspage.h"
#include "parambackupmenu.h"
#include "softwareupdatemenu.h"

// The frames of the system tools pages: each only its message line and its page, so they
// share one pair of files.

class ParamBackupFrame : public ServiceFrame<ParamBackupMenu>
{
    Q_OBJECT
public:
    explicit ParamBackupFrame(MachineData &machine, QWidget *parent = nullptr);
};

class SoftwareUpdateFrame : public ServiceFrame<SoftwareUpdateMenu>
{
    Q_OBJECT
public:
    explicit SoftwareUpdateFrame(MachineData &machine, QWidget *parent = nullptr);
};

class ClockFrame : public ServiceFrame<ClockPage>
{
    Q_OBJECT
public:
    explicit ClockFrame(QWidget *parent = nullptr);
};

class DesktopSettingsFrame : public ServiceFrame<DesktopSettingsPage>
{
    Q_OBJECT
public:
    explicit DesktopSettingsFrame(MachineData &machine, QWidget *parent = nullptr);

Q_SIGNALS:
    void desktopPictureChanged(const QString &path);
};
