#include "telemetry.h"

#include "mqttclient.h"

#include "platform/panelpaths.h"
#include "platform/systemactions.h"

#include <cstdio>

Telemetry *Telemetry::fromConfig(Snapshot snapshot, QObject *parent)
{
    TelemetryConfig config;
    QString why;
    if (!TelemetryConfig::load(&config, &why)) {
        std::fprintf(stderr, "knitpanel: telemetry off: %s\n", why.toLocal8Bit().constData());
        return nullptr;
    }
    return new Telemetry(config, std::move(snapshot), parent);
}

Telemetry::Telemetry(const TelemetryConfig &config, Snapshot snapshot, QObject *parent)
    : QObject(parent)
    , config_(config)
    , snapshot_(std::move(snapshot))
    , outbox_(outboxPath(), Outbox::kCapacity, Outbox::kEventCapacity,
              [this](bool ok) { QMetaObject::invokeMethod(this, [this, ok] { journalWritten(ok); }, Qt::QueuedConnection); })
{
    MqttClient::Options options;
    options.url = config.url;
    options.clientId = "knitpanel-" + config.machine.toUtf8();
    options.username = config.username;
    options.password = config.password;
    options.cafile = config.cafile;
    options.statusTopic = TelemetryMessages::topic(config.machine, "status");
    const QByteArray configTopic = TelemetryMessages::topic(config.machine, "config");
    options.subscriptions = {configTopic};
    MqttClient::Hooks hooks;
    hooks.link = [this](LinkState state, const QString &why) { onLink(state, why); };
    hooks.message = [this, configTopic](const QByteArray &topic, const QByteArray &payload, bool) {
        if (topic == configTopic)
            Q_EMIT reasonListReceived(payload);
    };
    client_ = std::make_unique<MqttClient>(options, hooks, &outbox_);
    timer_.setInterval(config.intervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { publishState(false); });
    timer_.start();
    client_->start();
}

QString Telemetry::outboxPath()
{
    return PanelPaths::data(QStringLiteral("/log/outbox.log"));
}

Telemetry::~Telemetry()
{
    // Says "offline" while the outbox it reads from is still there.
    client_.reset();
}

void Telemetry::onLink(LinkState state, const QString &why)
{
    std::fprintf(stderr, "knitpanel: telemetry %s as %s: %s\n", config_.url.text().toLocal8Bit().constData(),
                 config_.machine.toLocal8Bit().constData(), why.toLocal8Bit().constData());
    if (state == LinkState::Online)
        publishState(true); // a broker that restarted has lost the retained state
    if (state != link_) {
        link_ = state;
        Q_EMIT linkChanged(state);
    }
}

void Telemetry::journalWritten(bool ok)
{
    if (ok || journalFailing_) {
        journalFailing_ = !ok;
        return;
    }
    journalFailing_ = true;
    std::fprintf(stderr, "knitpanel: telemetry outbox %s cannot be written: alarms and stops wait in memory only\n",
                 outboxPath().toLocal8Bit().constData());
    Q_EMIT journalFailed();
}

void Telemetry::alarmLogged(const HistoryLog::AlarmEvent &event)
{
    outbox_.push({Outbox::Kind::Alarm, TelemetryMessages::topic(config_.machine, "alarm"),
                  TelemetryMessages::alarm(config_.machine, event), false});
    if (event.event == QLatin1String("acknowledged"))
        return;
    alarm_ = event.event == QLatin1String("raised");
    alarmType_ = event.type;
    alarmCode_ = event.code;
    alarmText_ = event.text;
    publishState(true);
}

void Telemetry::runLogged(bool)
{
    publishState(true);
}

void Telemetry::reasonLogged(const HistoryLog::ReasonEvent &event)
{
    outbox_.push({Outbox::Kind::Stop, TelemetryMessages::topic(config_.machine, "stop"),
                  TelemetryMessages::stop(config_.machine, event), false});
}

void Telemetry::setConfigError(const QString &why)
{
    if (why == configError_)
        return;
    configError_ = why;
    publishState(true);
}

void Telemetry::publishState(bool now)
{
    TelemetryMessages::State s = snapshot_();
    s.configError = configError_;
    s.alarm = alarm_;
    s.alarmType = alarm_ ? alarmType_ : 0;
    s.alarmCode = alarm_ ? alarmCode_ : 0;
    s.alarmText = alarm_ ? alarmText_ : QString();
    if (!now && published_ && s.sameAs(last_))
        return;
    outbox_.push({Outbox::Kind::State, TelemetryMessages::topic(config_.machine, "state"),
                  TelemetryMessages::state(config_.machine, SystemActions::now(), s), true});
    last_ = s;
    published_ = true;
    if (now)
        timer_.start(); // the next regular one a whole interval later
}
