#include "telemetry.h"

#include "joboffer.h"
#include "mqttclient.h"

#include "data/importedversions.h"
#include "data/libraryconfig.h"
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
    , jobEvents_(JobEvents::find())
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
    const QByteArray offerTopic = TelemetryMessages::topic(config.machine, "offer");
    options.subscriptions = {configTopic, offerTopic};
    MqttClient::Hooks hooks;
    hooks.link = [this](LinkState state, const QString &why) { onLink(state, why); };
    hooks.message = [this, configTopic, offerTopic](const QByteArray &topic, const QByteArray &payload, bool) {
        if (topic == configTopic)
            Q_EMIT reasonListReceived(payload);
        else if (topic == offerTopic)
            takeOffer(payload);
    };
    // An offer is for the machine the library knows by the token: with library.ini naming
    // another, what the office offers here could not be fetched as offered.
    LibraryConfig library;
    QString why;
    if (LibraryConfig::load(&library, &why) && library.machine != config.machine) {
        offersIgnored_ = true;
        std::fprintf(stderr, "knitpanel: library.ini's machine %s is not telemetry.ini's %s: the office's offers are not shown\n",
                     qPrintable(library.machine), qPrintable(config.machine));
    }
    if (jobEvents_)
        jobEvents_->add(this);
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
    if (jobEvents_)
        jobEvents_->remove(this);
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

void Telemetry::jobEvent(const JobEvents::Event &event)
{
    outbox_.push({Outbox::Kind::Stop, TelemetryMessages::topic(config_.machine, "job"),
                  TelemetryMessages::job(event, SystemActions::now()), false});
    if (event.event == QLatin1String("imported") && event.job == offerJob_ && event.version == offerVersion_) {
        offerJob_.clear();
        offerVersion_ = 0;
        Q_EMIT offerChanged(QString(), 0);
    }
}

void Telemetry::takeOffer(const QByteArray &payload)
{
    JobOffer offer;
    const bool read = !offersIgnored_ && JobOffer::parse(payload, &offer);
    if (!read && !payload.isEmpty() && !offersIgnored_)
        std::fprintf(stderr, "knitpanel: the office's job offer is not one: ignored\n");
    const bool standing = read && ImportedVersions::version(offer.job) != offer.version;
    offerJob_ = standing ? offer.job : QString();
    offerVersion_ = standing ? offer.version : 0;
    Q_EMIT offerChanged(offerJob_, offerVersion_);
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
