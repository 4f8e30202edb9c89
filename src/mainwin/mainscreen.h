#pragma once

#include "data/blocksizes.h"
#include "logic/history/machinehistory.h"
#include "logic/mainwin/machinestate.h"
#include "logic/mainwin/stopasking.h"
#include "logic/mainwin/stopreasons.h"
#include "telemetry/telemetrymessages.h"

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstddef>
#include <functional>
#include <memory>

class BeepPulse;
class ButtonWarm;
class ControllerStatus;
class QDialog;
class QKeyEvent;
class SkinButton;
class LabelMessage;
class LabelTime;
class MachineData;
class PanelPalettes;
class BeepingButton;
class TouchLabel;
class PatToPicture;
class QFrame;
class QLabel;
class QPushButton;
class QShowEvent;
class QuickPages;
class QTimer;
class RowDisplay;
class StartPicture;
class StopReasonDialog;
class Telemetry;

// The main window: runs the whole start-up in start() and then hosts the main screen.
// One class split by concern over several files: startup (program start, the exchange with the
// controller, the screen lock), job (loading and saving the current job), panels (the main
// screen's widgets and counters), rowdisplay, alarms (alarm button, message line, shut-down
// question), status (the controller's reports), quickkeys (the command keys and touch
// targets), options (the picture keys' commands) and quickfun (the quick functions).
class MainScreen : public QWidget
{
    Q_OBJECT

public:
    // The panel's "custom style, no title bar or frame" top-level window.
    static constexpr Qt::WindowFlags kCustomFrameless =
        Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint;

    // The screen shows machine and keeps it up to date with the controller; its quick
    // functions open what pages holds (nothing without it).
    explicit MainScreen(MachineData &machine, const QuickPages *pages = nullptr, QWidget *parent = nullptr,
                  const char *name = nullptr, Qt::WindowFlags flags = kCustomFrameless);
    ~MainScreen() override;

    // startup: shows the start picture, runs the exchange with the controller under it, then
    // builds the main screen; main calls it once, before the event loop.
    void start();
    void buildScreen();

    // job
    void openJob(const QString &name);

    // panels
    void createDesktop();
    void placeMessage(int systems, int picture);
    void paintKnitTime(unsigned short first, unsigned short second);
    void paintStopTime(unsigned short first, unsigned short second);
    void paintPieces(unsigned short done, unsigned short target);
    void paintStartNeedle(unsigned short needle);
    void paintNeedle(unsigned short unused);
    void setSpeed(int state);
    MachineData &machineData() const { return machineData_; }
    // The one notion of running: the indicator, the telemetry and the start picture show it.
    const MachineState &machineState() const { return machine_; }
    void paintQuickKeys();
    void showMoreKeys();

    // rowdisplay
    void paintRow(unsigned short row);

    // alarms
    void showAlarmMessage(const QString &m1, const QString &m2);
    QString firstMessage() const;

    // status
    void createStatusSync();
    MachineHistory *history() const { return history_.get(); }

    // telemetry: nullptr while telemetry.ini is absent or bad
    void createTelemetry();
    Telemetry *telemetry() const { return telemetry_.get(); }

    // stops: the reason list, asked for once the machine has stood ask_after_s, and by key G
    void createStops();
    const StopReasons &stopReasons() const { return stopReasons_; }

public Q_SLOTS:
    void toggleScreenLock();
    void loadJob(const QString &name);
    void saveWorkFile(const QString &path);
    void setDesktopPicture(const QString &path);
    void updateDesktop();
    void cancelWarning();
    void askShutdown();
    void paintNeedleInfo();

    // options
    void toggleZeroing();
    void toggleRowLock();
    void toggleSpeed();
    void togglePieces();
    void toggleErrorReports();
    void toggleCarrierSwitch();
    void askStopReason(); // key G: the stop reasons while the machine stands

    // quickfun
    void openWorkParams();
    void openFrequentSettings();
    void openFiles();
    void openYarnFeeders();
    void openPieceExpansion();
    void openTests();
    void openSystemTools();
    void spareKey8();
    void spareKey9();
    void openRowSkip();
    void turnRollersForward();
    void turnRollersBackward();
    void openDensityParams();
    void openSpeedParams();
    void openRollerParams();
    void openCarrierParams();
    void openCarrierReplacement();
    void openOtherParams();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // The tests' view of the parts below (tests/support/widgets/mainscreeninternals.h).
    friend class MainScreenInternals;

    void showJobDropped();
    // The job's name, size, times, pieces and row display: of the job name, or all empty.
    void paintJob(const QString &name);
    void paintNoJob();
    void paintJobSize(unsigned short width, unsigned short rows);
    void paintLockButton(); // the lock button's text for the lock state
    // The start picture covers the whole window while start-up runs, then its own rectangle.
    void coverWhileStarting(bool starting);
    void setOffline(bool offline);
    // The indicator, the start picture and the telemetry follow machine_.
    void showMachineState();

    // The parts of the screen createDesktop() makes: the frame's bands, the counters, the row
    // display and the job's fields, the desktop picture, the running key, the quick keys, the
    // message band and the lock button.
    void createBands(const PanelPalettes &palettes);
    void createCounters(const PanelPalettes &palettes);
    void createDesktopPicture();
    void createRunningKey(const PanelPalettes &palettes);
    void createQuickKeys();
    void createMessageBand(const PanelPalettes &palettes);
    void createLockButton();
    void retranslateKeys(); // the command keys' texts in the operator's language
    void toggleOption(unsigned short action, std::size_t byte);
    // A quick function's page: false when none is registered. runPage gives the page's
    // "changed" flag after it closed (main() wired what it reports when it made it).
    bool hasPage(int page) const;
    bool runPage(int page);
    void selectWorkParamTab(int tab);
    bool jobHasPattern();
    void saveJobWork();
    void startNeedleToSystem();
    void startNeedleToJob();
    void takeSystemBackup();
    void keepSystemBackup();
    // Row repaints wait for lineTimer_, so a flood paints at the screen's pace; flushLine paints
    // what waits at once (before a history line or a loop value, which must follow it).
    void requestLine(unsigned short row);
    void paceLine();
    void flushLine();
    void needleReported();
    void applyMessageStep(int report);
    void onZeroingStarted();
    void onMachineStarted(int state);
    void onMachineStopped();
    void onRowReport(unsigned short row, bool cancelMessage);
    void onAlarm(unsigned char type, unsigned char code);
    void onZeroingFinished();
    void onAlarmCleared();
    // The main screen's state as the history's event lines carry it.
    MachineHistory::Screen historyScreen() const;
    // The main screen's values as the telemetry publishes them.
    TelemetryMessages::State telemetryState() const;
    // The stop follows machine_: begins when it stands, ends (closing the list) when it knits.
    void followStop();
    void armAsk();
    // The list, when the stop still wants it; after the dialog open now, if one is.
    void askForReason();
    void openReasonDialog();
    void reasonPicked(int code);
    void takeOfficeReasons(const QByteArray &payload);
    void showReason(); // the reason's line and key G

    MachineData &machineData_;
    const QuickPages *pages_;
    BeepPulse *beep_; // the report beeps and the alarm button's
    BeepingButton *Bmenu = nullptr;
    bool screenLocked_ = true; // as Bmenu's first text says; each toggleScreenLock() turns it
    QList<TouchLabel *> commandLabels_; // clickable while the screen is unlocked
    QList<TouchLabel *> displayLabels_; // never clickable
    TouchLabel *jobName_ = nullptr;
    TouchLabel *jobSize_ = nullptr;
    QLabel *knitTime_ = nullptr;
    QLabel *stopTime_ = nullptr;
    TouchLabel *pieces_ = nullptr;
    TouchLabel *startNeedle_ = nullptr;
    QLabel *rowNumber_ = nullptr;
    StartPicture *desktop_ = nullptr;
    QString picturePath_;

    RowDisplay *rowDisplay_ = nullptr;
    PatToPicture *patPicture_ = nullptr;
    QLabel *needle_ = nullptr;
    LabelTime *labelTime_ = nullptr;
    QLabel *running_ = nullptr;
    QList<SkinButton *> pictureKeys_;
    int workParamTab_ = 0; // the work-parameter pages' tab last left open
    QList<TouchLabel *> quickKeys_;
    LabelMessage *labelMessage_ = nullptr;
    ButtonWarm *buttonWarm_ = nullptr;
    ControllerStatus *controllerStatus_ = nullptr;
    MachineState machine_;
    std::unique_ptr<MachineHistory> history_;
    std::unique_ptr<Telemetry> telemetry_; // after history_: it goes first
    QString offerText_; // the office's offer on the message line, while it stands
    StopReasons stopReasons_;
    StopAsking stopAsking_;
    QElapsedTimer monotonic_; // the stop's wait, whatever the panel's clock does
    QTimer *askTimer_ = nullptr;
    QPointer<StopReasonDialog> reasonDialog_;
    QPointer<QDialog> waitingFor_; // a dialog the list opens after
    QLabel *stopReason_ = nullptr;
    unsigned short knittingSeconds_ = 0;   // in all, as the knitting-time field shows
    unsigned short stoppedSeconds_ = 0;
    QTimer *needleTimer_ = nullptr; // armed only while a needle report waits to be shown
    QTimer *lineTimer_ = nullptr;
    unsigned short shownNeedle_ = 0; // the stored needle word the field shows
    bool linePending_ = false;
    unsigned short pendingLine_ = 0;
    bool piecePending_ = false;
    ParamBlock<kSystemSize> systemBefore_; // as a page found it, to tell whether it changed
    // 0 to 3: which of the system and personalisation blocks start-up found differing from the
    // check copies, the repair menu's marks.
    unsigned char checkResult_ = 0;
};
