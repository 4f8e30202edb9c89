// The alarm button, the message line and the shut-down question of the main screen.
#include "mainscreen.h"

#include "buttonwarm.h"
#include "labelmessage.h"
#include "shutdowndialog.h"

#include "data/protocol.h"
#include "logic/controller/controllercommands.h"


void MainScreen::showAlarmMessage(const QString &m1, const QString &m2)
{
    labelMessage_->setMessage(m1, m2);
}

QString MainScreen::firstMessage() const
{
    return labelMessage_->getMessage1();
}

void MainScreen::cancelWarning()
{
    flushLine();
    history_->alarmAcknowledged(historyScreen());
    // The alarm stays until the controller clears it; a lost acknowledgement is pressed again.
    // The acknowledgement goes with the running-status command.
    ControllerCommands::send(Protocol::QueryCommand, Protocol::RunningStatus, 0, 0);
}

void MainScreen::askShutdown()
{
    ShutdownDialog::run(this);
}
