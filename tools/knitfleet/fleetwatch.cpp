#include "fleetwatch.h"

#include <QDateTime>
#include <QJsonDocument>

#include <chrono>

FleetWatch::FleetWatch(const MqttClient::Options &options)
{
    MqttClient::Options o = options;
    o.subscriptions = {"knit/+/state", "knit/+/status"};
    MqttClient::Hooks hooks;
    hooks.link = [this](LinkState state, const QString &why) {
        std::lock_guard<std::mutex> lock(mutex_);
        link_ = state;
        why_ = why;
        changed_.notify_all();
    };
    hooks.subscribed = [this] {
        std::lock_guard<std::mutex> lock(mutex_);
        subscribed_ = true;
        changed_.notify_all();
    };
    hooks.message = [this](const QByteArray &topic, const QByteArray &payload, bool retained) {
        take(topic, payload, retained);
    };
    client_ = std::make_unique<MqttClient>(o, hooks);
}

FleetWatch::~FleetWatch()
{
    client_.reset();
}

void FleetWatch::start()
{
    client_->start();
}

qint64 FleetWatch::nowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

void FleetWatch::take(const QByteArray &topic, const QByteArray &payload, bool retained)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const qint64 now = nowMs();
    if (!state_.take(topic, payload, now))
        return;
    ++messages_;
    if (retained)
        lastRetainedMs_ = now;
    if (events_) {
        const FleetState::Machine *m = state_.find(QString::fromUtf8(topic.split('/').value(1)));
        QJsonObject o = FleetState::toJson(*m, now);
        o.insert(QStringLiteral("received_ms"), double(now));
        std::fprintf(events_, "%s\n", QJsonDocument(o).toJson(QJsonDocument::Compact).constData());
        std::fflush(events_);
    }
    changed_.notify_all();
}

bool FleetWatch::waitSubscribed(int ms)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return subscribed_; });
}

void FleetWatch::waitQuiet(int quietMs, int maxMs)
{
    const qint64 start = nowMs();
    const qint64 end = start + maxMs;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        const qint64 now = nowMs();
        const qint64 last = qMax(lastRetainedMs_, start);
        if (now >= end || now - last >= quietMs)
            return;
        changed_.wait_for(lock, std::chrono::milliseconds(qMin(last + quietMs, end) - now));
    }
}

void FleetWatch::waitChange(int ms)
{
    std::unique_lock<std::mutex> lock(mutex_);
    const quint64 seen = messages_;
    changed_.wait_for(lock, std::chrono::milliseconds(ms), [this, seen] { return messages_ != seen; });
}

FleetState FleetWatch::state() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

LinkState FleetWatch::link(QString *why) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (why)
        *why = why_;
    return link_;
}
