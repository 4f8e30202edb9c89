#include "panelpages.h"

#include "data/machinedata.h"
#include "editors/cntedit.h"
#include "editors/patedit.h"
#include "files/diskfilemanager.h"
#include "files/flashdiskformatdialog.h"
#include "files/stickformatdialog.h"
#include "history/historypage.h"
#include "machinetests/controllertestmenu.h"
#include "mainwin/mainscreen.h"
#include "params/frequentsettingsframe.h"
#include "params/paramrepairmenu.h"
#include "params/systemtoolsmenu.h"
#include "service/clockframe.h"
#include "service/desktopsettingsframe.h"
#include "service/parambackupframe.h"
#include "service/softwareupdateframe.h"
#include "touchcal/touchcalibration.h"
#include "ui/jobviewers.h"
#include "ui/quickpages.h"
#include "workparams/jobparamsdialog.h"
#include "workparams/workfilebrowser.h"
#include "workparams/yarnfeederdialog.h"

namespace PanelPages {

void provide(QuickPages &pages, MachineData &machine, MainScreen *mainWindow)
{
    pages.provide(QuickPages::ControllerTests, [&machine](QWidget *parent) { return new ControllerTestMenu(machine, parent); });
    pages.provide(QuickPages::FrequentSettings, [&machine](QWidget *parent) { return new FrequentSettingsFrame(machine, parent); });
    pages.provide(QuickPages::SystemTools, [&machine, &pages](QWidget *parent) { return new SystemToolsMenu(machine, pages, parent); });
    pages.provide(QuickPages::JobParams, [&machine](QWidget *parent) { return new JobParamsDialog(machine, parent); });
    pages.provide(QuickPages::YarnFeeder, [&machine](QWidget *parent) { return new YarnFeederDialog(machine, parent); });
    pages.provide(QuickPages::ParamRepair, [&machine](QWidget *parent, int mask) {
        return new ParamRepairMenu(machine, parent, static_cast<unsigned char>(mask));
    });
    pages.provide(QuickPages::History, [](QWidget *parent) { return new HistoryPage(parent); });
    pages.provide(QuickPages::SystemBackup, [&machine](QWidget *parent) { return new ParamBackupFrame(machine, parent); });
    pages.provide(QuickPages::TimeDate, [](QWidget *parent) { return new ClockFrame(parent); });
    pages.provide(QuickPages::SoftwareUpdate, [&machine](QWidget *parent) { return new SoftwareUpdateFrame(machine, parent); });
    pages.provide(QuickPages::TouchCalibration, [](QWidget *parent) { return new TouchCalibration(parent); });
    pages.provide(QuickPages::StickFormat, [](QWidget *parent) { return new StickFormatDialog(parent); });
    pages.provide(QuickPages::FlashDiskFormat, [](QWidget *parent) { return new FlashDiskFormatDialog(parent); });
    pages.provide(QuickPages::FileManager, [&machine, mainWindow](QWidget *parent) {
        auto *page = new DiskFileManager(machine, parent);
        if (mainWindow)
            QObject::connect(page, &DiskFileManager::jobChosen, mainWindow, &MainScreen::loadJob);
        return page;
    });
    pages.provide(QuickPages::DesktopSettings, [&machine, mainWindow](QWidget *parent) {
        auto *page = new DesktopSettingsFrame(machine, parent);
        if (mainWindow)
            QObject::connect(page, &DesktopSettingsFrame::desktopPictureChanged, mainWindow, &MainScreen::setDesktopPicture);
        return page;
    });
}

void provide(JobViewers &viewers, MachineData &machine)
{
    viewers.provide(JobViewers::WorkParameters, [&machine](const QString &path, int mode, QWidget *parent) {
        WorkFileBrowser::openWorkFile(machine, mode, path, parent);
    });
    viewers.provide(JobViewers::Program,
                    [&machine](const QString &path, int, QWidget *parent) { CntEdit::openFile(machine, path, parent); });
    viewers.provide(JobViewers::Pattern,
                    [&machine](const QString &path, int, QWidget *parent) { PatEdit::openFile(machine, path, parent); });
}

} // namespace PanelPages
