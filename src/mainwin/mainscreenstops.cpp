// Why the machine stands: the reason list, asked for once the machine has stood its while (after
// whatever dialog is open) and on key G, the reason given shown until the machine knits, and
// each pick kept in the history and sent to the office.
#include "mainscreen.h"

#include "labelmessage.h"
#include "stopreasondialog.h"

#include "logic/mainwin/translations.h"
#include "platform/systemactions.h"
#include "telemetry/telemetry.h"
#include "ui/panelfonts.h"
#include "ui/panelpalettes.h"
#include "ui/windowfocus.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <climits>

void MainScreen::createStops()
{
    stopReasons_.load();
    monotonic_.start();
    askTimer_ = new QTimer(this);
    askTimer_->setSingleShot(true);
    connect(askTimer_, &QTimer::timeout, this, &MainScreen::askForReason);
    // Where the message line shows, under it: a message, or an alarm, covers the reason.
    stopReason_ = new QLabel(this);
    stopReason_->setObjectName(QStringLiteral("stopreason"));
    stopReason_->setGeometry(QRect(QPoint(10, 290), QPoint(629, 326)));
    stopReason_->setPalette(PanelPalettes().labelText());
    stopReason_->setAutoFillBackground(true);
    stopReason_->setFrameShape(QFrame::Box);
    stopReason_->setAlignment(Qt::AlignCenter);
    QFont font = PanelFonts::panel(16);
    font.setBold(true);
    stopReason_->setFont(font);
    stopReason_->hide();
}

void MainScreen::followStop()
{
    if (!askTimer_)
        return;
    switch (machine_.kind()) {
    case MachineState::Kind::Stopped:
        stopAsking_.stopped(SystemActions::now(), monotonic_.elapsed());
        armAsk();
        break;
    case MachineState::Kind::Knitting:
        stopAsking_.knitting();
        askTimer_->stop();
        if (reasonDialog_)
            reasonDialog_->reject();
        showReason();
        break;
    case MachineState::Kind::Unknown:
    case MachineState::Kind::Offline:
        break; // the stop, if one stands, goes on
    }
}

void MainScreen::armAsk()
{
    const std::optional<qint64> in = stopAsking_.askIn(monotonic_.elapsed(), stopReasons_.list().askAfterS());
    if (in)
        askTimer_->start(int(std::min<qint64>(*in, INT_MAX)));
    else
        askTimer_->stop();
}

void MainScreen::askForReason()
{
    const std::optional<qint64> in = stopAsking_.askIn(monotonic_.elapsed(), stopReasons_.list().askAfterS());
    if (!in || reasonDialog_)
        return;
    if (*in > 0) {
        armAsk(); // the list changed its wait meanwhile
        return;
    }
    // Over the dialog the operator is in it would take the keys meant for that one: after it.
    if (auto *open = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
        if (waitingFor_ != open) {
            waitingFor_ = open;
            connect(open, &QDialog::finished, this, &MainScreen::askForReason, Qt::QueuedConnection);
        }
        return;
    }
    openReasonDialog();
}

void MainScreen::askStopReason()
{
    if (stopAsking_.standing() && !reasonDialog_)
        openReasonDialog();
}

void MainScreen::openReasonDialog()
{
    stopAsking_.asked();
    askTimer_->stop();
    auto *dialog = new StopReasonDialog(stopReasons_.list(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &StopReasonDialog::picked, this, &MainScreen::reasonPicked);
    reasonDialog_ = dialog;
    dialog->open();
    WindowFocus::activate(dialog);
}

void MainScreen::reasonPicked(int code)
{
    StopAsking::Pick pick;
    if (!stopAsking_.pick(code, stopReasons_.list(), &pick))
        return;
    flushLine(); // the line carries the row the screen shows
    history_->reasonGiven(pick.since, pick.reason.code, pick.reason.planned, pick.reason.zh, historyScreen());
    showReason();
}

void MainScreen::takeOfficeReasons(const QByteArray &payload)
{
    // An empty message takes the office's retained list away: the one in force stays.
    if (payload.isEmpty())
        return;
    stopReasons_.takeOffice(payload);
    if (telemetry_)
        telemetry_->setConfigError(stopReasons_.error());
    armAsk();
}

void MainScreen::showReason()
{
    if (!stopReason_)
        return;
    const std::optional<StopAsking::Pick> &given = stopAsking_.given();
    if (given) {
        const bool chinese = Translations::current().startsWith(QLatin1String("zh"));
        stopReason_->setText(tr("停机原因: %1").arg(chinese ? given->reason.zh : given->reason.en));
        stopReason_->show();
        stopReason_->stackUnder(labelMessage_);
    } else {
        stopReason_->hide();
    }
    paintQuickKeys();
}
