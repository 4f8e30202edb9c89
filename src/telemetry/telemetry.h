#pragma once

#include "linkstate.h"
#include "outbox.h"
#include "telemetryconfig.h"
#include "telemetrymessages.h"

#include "data/historyobserver.h"
#include "data/jobevents.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class MqttClient;

// The panel's telemetry: publishes the machine's state (retained, at most once per interval_ms
// and at once when it starts, stops or an alarm comes or goes), each alarm event and each reason
// given for a stop of the machine's history to the broker of telemetry.ini, and hands on the
// office's reason list (retained on knit/<machine>/config), each job imported or loaded, and
// the office's offer of a job (retained on knit/<machine>/offer) until it is imported. It builds the messages and queues them; an
// MqttClient on the same event loop sends them as the socket takes them, so a broker that is
// down, slow or refuses the login never holds the panel.
class Telemetry : public QObject, public HistoryObserver, public JobEvents::Observer
{
    Q_OBJECT

public:
    // The main screen's values, whether the machine runs and whether its controller answers;
    // the alarm is the telemetry's own.
    using Snapshot = std::function<TelemetryMessages::State()>;

    // Reads telemetry.ini: nullptr, with one line on standard error saying why, when it is
    // absent or bad (then nothing goes on the network).
    static Telemetry *fromConfig(Snapshot snapshot, QObject *parent = nullptr);
    Telemetry(const TelemetryConfig &config, Snapshot snapshot, QObject *parent = nullptr);
    ~Telemetry() override;

    void alarmLogged(const HistoryLog::AlarmEvent &event) override;
    void runLogged(bool started) override;
    void reasonLogged(const HistoryLog::ReasonEvent &event) override;
    void jobEvent(const JobEvents::Event &event) override;
    // Why the reason list in force was refused over another ("" when none was): in the state.
    void setConfigError(const QString &why);
    // The snapshot changed what it says of the machine: published at once.
    void publishNow() { publishState(true); }

    // Where the alarm and stop messages wait for the broker, across restarts.
    static QString outboxPath();

    LinkState link() const { return link_; }
    const Outbox &outbox() const { return outbox_; }
    const TelemetryConfig &config() const { return config_; }

Q_SIGNALS:
    void linkChanged(LinkState state);
    // The office's reason list as it arrived, unchecked.
    void reasonListReceived(const QByteArray &payload);
    // The outbox's journal could not be written (the disk full or read-only): alarms and stops
    // go on from memory but a restart would lose them. Once, and again only after a write that
    // worked.
    void journalFailed();
    // The office offers a job version this machine has not imported from the library yet
    // ("" and 0: no such offer stands any more).
    void offerChanged(const QString &job, int version);

private:
    void publishState(bool now);
    void onLink(LinkState state, const QString &why);
    void journalWritten(bool ok);
    void takeOffer(const QByteArray &payload);

    const TelemetryConfig config_;
    const Snapshot snapshot_;
    const QPointer<JobEvents> jobEvents_; // the application's, whose jobs are published
    Outbox outbox_;
    std::unique_ptr<MqttClient> client_;
    QTimer timer_;
    TelemetryMessages::State last_;
    bool published_ = false;
    bool alarm_ = false;
    int alarmType_ = 0;
    int alarmCode_ = 0;
    QString alarmText_;
    QString configError_;
    LinkState link_ = LinkState::Connecting;
    bool journalFailing_ = false;
    QString offerJob_; // the offer standing and not imported, or empty
    int offerVersion_ = 0;
    bool offersIgnored_ = false; // library.ini names another machine
};
