// The controller's status and needle reports on the main screen.
#include "mainscreen.h"

#include "beeppulse.h"
#include "buttonwarm.h"
#include "labelmessage.h"
#include "rowdisplay.h"

#include "data/alarmtexts.h"
#include "data/machinedata.h"
#include "data/messagesteps.h"
#include "data/protocol.h"
#include "data/statusreports.h"
#include "logic/controller/controllercommands.h"
#include "logic/controller/controllerstatus.h"

#include <QLabel>
#include <QTimer>

namespace {
constexpr int kReportBeepMs = 150;
constexpr int kNeedleRepaintMs = 80;
// Rows and piece counts are painted at the screen's pace, at most 40 ms behind their report.
constexpr int kLineRepaintMs = 40;
}

void MainScreen::createStatusSync()
{
    if (controllerStatus_)
        return;
    controllerStatus_ = new ControllerStatus(machineData_, this);
    // The needle field follows its reports at most 80 ms behind: the first report that moves the
    // needle arms one repaint, the reports before it fires are coalesced into it, and an idle
    // machine wakes nobody.
    needleTimer_ = new QTimer(this);
    needleTimer_->setSingleShot(true);
    needleTimer_->setInterval(kNeedleRepaintMs);
    connect(needleTimer_, &QTimer::timeout, this, &MainScreen::paintNeedleInfo);
    paintNeedleInfo();

    StatusReports *c = controllerStatus_->reports();
    connect(c, &StatusReports::zeroingStarted, this, &MainScreen::onZeroingStarted);
    connect(c, &StatusReports::machineStarted, this, &MainScreen::onMachineStarted);
    connect(c, &StatusReports::machineStopped, this, &MainScreen::onMachineStopped);
    connect(c, &StatusReports::rowReport, this, &MainScreen::onRowReport);
    connect(c, &StatusReports::alarmRaised, this, &MainScreen::onAlarm);
    connect(c, &StatusReports::alarmCleared, this, &MainScreen::onAlarmCleared);
    connect(c, &StatusReports::zeroingFinished, this, &MainScreen::onZeroingFinished);
    connect(c, &StatusReports::knittingTime, this, &MainScreen::paintKnitTime);
    connect(c, &StatusReports::stopTime, this, &MainScreen::paintStopTime);
    connect(c, &StatusReports::loopRows, this, [this](unsigned short start, unsigned short end) {
        flushLine();
        rowDisplay_->setLoopRows(start, end);
    });
    connect(c, &StatusReports::loopCounts, this, [this](unsigned short count, unsigned short left) {
        flushLine();
        rowDisplay_->setLoopCounts(count, left);
    });
    // Under a flood of reports the row display repaints at its own pace, never once per batch:
    // the first batch that leaves a row or count to show arms one repaint of the latest.
    lineTimer_ = new QTimer(this);
    lineTimer_->setSingleShot(true);
    lineTimer_->setInterval(kLineRepaintMs);
    connect(lineTimer_, &QTimer::timeout, this, &MainScreen::flushLine);
    connect(c, &StatusReports::drained, this, &MainScreen::paceLine);
    connect(c, &StatusReports::needleMoved, this, &MainScreen::needleReported);
    // While offline, the controller's return is noticed by its answer to a status query.
    connect(controllerStatus_, &ControllerStatus::answeredOffline, this, [this](bool running) { setSpeed(running ? 2 : 1); });
    // A port that cannot be bound leaves its reports unread; the operator is not told.
    controllerStatus_->start();
}

void MainScreen::paintNeedleInfo()
{
    paintNeedle(machineData_.controllerState().word(Protocol::NeedleWord));
}

void MainScreen::needleReported()
{
    if (!needleTimer_->isActive() && machineData_.controllerState().word(Protocol::NeedleWord) != shownNeedle_)
        needleTimer_->start();
}

void MainScreen::applyMessageStep(int report)
{
    const MessageSteps::Action action =
        MessageSteps::step(static_cast<MessageSteps::Report>(report), labelMessage_->getMessage1());
    switch (action.kind) {
    case MessageSteps::Kind::Show:
        showAlarmMessage(action.text, QString());
        break;
    case MessageSteps::Kind::Set:
        labelMessage_->setMessage1(action.text);
        break;
    case MessageSteps::Kind::Cancel:
        labelMessage_->cancelMessage();
        break;
    case MessageSteps::Kind::None:
        break;
    }
}

void MainScreen::onZeroingStarted()
{
    beep_->start(kReportBeepMs);
    paintQuickKeys();
    requestLine(0);
    applyMessageStep(int(MessageSteps::Report::ZeroingStarted));
}

void MainScreen::onMachineStarted(int state)
{
    beep_->start(kReportBeepMs);
    flushLine(); // the history's line carries the row the screen shows
    history_->machineRan(true, historyScreen());
    setSpeed(state);
    applyMessageStep(int(MessageSteps::Report::Started));
}

void MainScreen::onMachineStopped()
{
    beep_->start(kReportBeepMs);
    flushLine();
    history_->machineRan(false, historyScreen());
    setSpeed(1);
    applyMessageStep(int(MessageSteps::Report::Stopped));
}

void MainScreen::onRowReport(unsigned short row, bool cancelMessage)
{
    if (cancelMessage)
        labelMessage_->cancelMessage();
    requestLine(row);
    piecePending_ = true;
    history_->piecesReported(historyScreen());
}

void MainScreen::onAlarm(unsigned char type, unsigned char code)
{
    // The screen up to date first: the history's line carries the row it shows, and the UPS
    // question holds the thread.
    flushLine();
    history_->alarmRaised(type, code, ButtonWarm::alarmSource(type, code), historyScreen());
    buttonWarm_->setWarm(type, code);
    if (AlarmTexts::isUpsPowerLoss(type, code))
        askShutdown();
}

void MainScreen::onZeroingFinished()
{
    beep_->start(kReportBeepMs);
    if (ControllerCommands::stopped())
        setSpeed(1);
    paintQuickKeys();
    requestLine(1);
    applyMessageStep(int(MessageSteps::Report::ZeroingFinished));
}

void MainScreen::onAlarmCleared()
{
    flushLine();
    history_->alarmCleared(historyScreen());
    buttonWarm_->cancelWarm();
}

MachineHistory::Screen MainScreen::historyScreen() const
{
    return {machineData_.jobName(), rowNumber_ ? rowNumber_->text() : QString(), machineData_.controllerState().word(Protocol::PiecesDoneWord), machineData_.controllerState().word(Protocol::PiecesWord)};
}
