// Program start: the start picture, the exchange with the controller under it, the main screen.
#include "mainscreen.h"

#include "beeppulse.h"
#include "labelmessage.h"
#include "startpicture.h"

#include "data/configini.h"
#include "data/defaultblocks.h"
#include "data/machinedata.h"
#include "data/carrierspeedtable.h"
#include "data/panelfiles.h"
#include "data/saveleftovers.h"
#include "logic/controller/controllercommands.h"
#include "logic/files/jobfolders.h"
#include "logic/files/libraryfetch.h"
#include "logic/files/stickjobimport.h"
#include "logic/mainwin/machinename.h"
#include "logic/mainwin/startupexchange.h"
#include "platform/panelpaths.h"
#include "telemetry/telemetry.h"
#include "ui/buzzer.h"
#include "ui/fileoperatedialog.h"
#include "ui/layoutaudit.h"
#include "ui/operatordialogs.h"
#include "ui/panelpalettes.h"
#include "ui/quickpages.h"
#include "ui/transferframe.h"
#include "ui/windowfocus.h"

#include <QApplication>
#include <QPixmapCache>
#include <QShowEvent>
#include <QTimer>

namespace {
// The style keys its cached bevels and frames by each widget's own palette, so what a closed
// page cached is never drawn again: a cache that holds one page's worth keeps every page fast
// without letting each page opened add to the resident size (10 MiB by default).
constexpr int kPixmapCacheKiB = 512;
} // namespace

MainScreen::MainScreen(MachineData &machine, const QuickPages *pages, QWidget *parent, const char *name, Qt::WindowFlags flags)
    : QWidget(parent, flags)
    , machineData_(machine)
    , pages_(pages)
    , beep_(new BeepPulse(this))
    , history_(std::make_unique<MachineHistory>())
{
    setObjectName(name ? QString::fromLatin1(name) : QStringLiteral("mainscreen"));
    const QSize hint = minimumSizeHint();
    resize(qMax(640, hint.width()), qMax(480, hint.height()));
}

MainScreen::~MainScreen()
{
    if (telemetry_)
        history_->removeObserver(telemetry_.get());
}

void MainScreen::start()
{
    if (desktop_)
        return;
    PanelPaths::ensureLayout();
    // What a save cut off by a crash or power cut left is put right before anything is read.
    SaveLeftovers::clear();
    StickJobImport::recover(JobFolders::root());
    LibraryFetch::clear();
    readConfigIni(machineData_);
    PanelPalettes::apply(PanelPalettes::darkOf(machineData_.controllerConfig()));
    QPixmapCache::setCacheLimit(kPixmapCacheKiB);
    setPalette(PanelPalettes().labelDark());
    initBuzzer();
    buildScreen();
    readPanelSettings(machineData_);

    // The main screen is built now but stays under the start picture until the exchange is
    // done, so the operator sees the machine's name and every wait of the exchange drawn over
    // it, never an empty screen. Building sends nothing: the order on the wire is unchanged.
    createDesktop();
    createStops();
    desktop_->setMachine(MachineName::current());
    coverWhileStarting(true);
    show();

    StartupExchange::Operator op;
    op.tell = [this](const QString &text) { showMessage(this, text); };
    op.ask = [this](const QString &text) { return askYesNo(this, text); };
    op.copy = [](const QString &from, const QString &to) { return FileOperateDialog::copy(from, to); };
    // Its transfers show in one frame over the start picture, not a window each.
    TransferFrame transfers(this);
    transfers.move(130, 170); // where the transfer window stood, under the machine's name
    transfers.setProperty(LayoutAudit::kOverlays, true); // over the screen, as that window was
    StartupExchange exchange(machineData_, op, StartupExchange::Link::controller(transfers.withController()));
    exchange.run();
    checkResult_ = exchange.checkResult();
    // The running options of the fetched state.
    paintQuickKeys();

    coverWhileStarting(false);
    placeMessage(1, 0);
    openJob(machineData_.jobName());
    ControllerCommands::followPresence(this, [this](bool offline) { setOffline(offline); });
    switch (exchange.close()) {
    case StartupExchange::Machine::Running:
        setSpeed(2);
        break;
    case StartupExchange::Machine::Stopped:
        setSpeed(1);
        break;
    case StartupExchange::Machine::Offline:
        break;
    }
    setOffline(ControllerCommands::offline());
    createStatusSync();
    createTelemetry();
    setFocusPolicy(Qt::StrongFocus);
    // The exchange's dialogs came and went over the shown window: take the keyboard back, as
    // the first show did.
    WindowFocus::activate(this);

    // The repair menu opens once, over the main screen, from the event loop.
    if (checkResult_ != 0) {
        QTimer::singleShot(0, this, [this]() {
            std::unique_ptr<QDialog> dialog(pages_ ? pages_->make(QuickPages::ParamRepair, this, checkResult_) : nullptr);
            if (dialog)
                dialog->exec();
        });
    }
}

void MainScreen::buildScreen()
{
    initWorkParams(machineData_);
    initSystemParams(machineData_);
    initOtherParams(machineData_);
    // The carrier table's corrections are the panel's own: kept from the last run, not rebuilt.
    CarrierSpeedTable::load(machineData_);
}

void MainScreen::coverWhileStarting(bool starting)
{
    if (starting) {
        desktop_->setGeometry(rect());
        desktop_->raise();
        return;
    }
    desktop_->setGeometry(QRect(QPoint(10, 55), QPoint(630, 350)));
    // Under the message line, the alarm button and the lock button again, as when built.
    desktop_->stackUnder(labelMessage_);
}

void MainScreen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The panel is the only program on its screen: take the keyboard, with or without a
    // window manager; also when a start-up message has just closed and Qt still counts it.
    WindowFocus::activate(this);
}
