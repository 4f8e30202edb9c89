// The panel's telemetry: the main screen's values it publishes, the history events it follows
// and the link's mark on the clock; a journal it cannot write is told on the message line.
#include "mainscreen.h"

#include "labeltime.h"
#include "rowdisplay.h"

#include "data/machinedata.h"
#include "data/protocol.h"
#include "telemetry/telemetry.h"
#include "ui/touchlabel.h"

void MainScreen::createTelemetry()
{
    telemetry_.reset(Telemetry::fromConfig([this] { return telemetryState(); }));
    if (!telemetry_)
        return;
    history_->addObserver(telemetry_.get());
    connect(telemetry_.get(), &Telemetry::linkChanged, labelTime_, &LabelTime::setLink);
    connect(telemetry_.get(), &Telemetry::reasonListReceived, this, &MainScreen::takeOfficeReasons);
    // Told once: a restart now would lose what has not reached the office.
    connect(telemetry_.get(), &Telemetry::journalFailed, this,
            [this] { showAlarmMessage(tr("遥测发件箱写盘失败, 报警和停机记录只在内存中. "), QString()); });
    // The office's offer stays on the message line until that version is imported; nothing is
    // fetched or loaded without the operator.
    connect(telemetry_.get(), &Telemetry::offerChanged, this, [this](const QString &job, int version) {
        const QString shown = offerText_;
        //: The message line while the office offers a job version: its name and version.
        offerText_ = job.isEmpty() ? QString() : tr("办公室发来新编织文件: %1 v%2").arg(job).arg(version);
        if (!offerText_.isEmpty())
            showAlarmMessage(offerText_, QString());
        else if (!shown.isEmpty() && firstMessage() == shown)
            showAlarmMessage(QString(), QString());
    });
    telemetry_->setConfigError(stopReasons_.error());
    labelTime_->setLink(telemetry_->link());
}

TelemetryMessages::State MainScreen::telemetryState() const
{
    TelemetryMessages::State s;
    s.job = machineData_.jobName();
    s.row = rowNumber_ ? rowNumber_->text().toInt() : 0;
    s.rows = machineData_.controllerState().word(Protocol::RowsWord);
    s.pieces = machineData_.controllerState().word(Protocol::PiecesDoneWord);
    s.target = machineData_.controllerState().word(Protocol::PiecesWord);
    s.speed = rowDisplay_ ? rowDisplay_->speedShown() : 0.0;
    s.running = machine_.running();
    s.offline = machine_.offline();
    s.knittingSeconds = knittingSeconds_;
    s.stoppedSeconds = stoppedSeconds_;
    return s;
}
