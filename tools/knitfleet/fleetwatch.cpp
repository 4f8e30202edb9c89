#include "fleetwatch.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QTimer>

FleetWatch::FleetWatch(const MqttClient::Options &options)
{
    MqttClient::Options o = options;
    o.latestSubscriptions = {"knit/+/state", "knit/+/status"};
    MqttClient::Hooks hooks;
    hooks.link = [this](LinkState state, const QString &why) {
        link_ = state;
        why_ = why;
        changed();
    };
    hooks.subscribed = [this] {
        subscribed_ = true;
        changed();
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

void FleetWatch::changed()
{
    if (waiting_)
        waiting_->quit();
}

bool FleetWatch::waitUntil(const std::function<bool()> &done, qint64 ms)
{
    const QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(std::chrono::milliseconds(deadline.remainingTime()), &loop, &QEventLoop::quit);
        waiting_ = &loop;
        loop.exec();
        waiting_ = nullptr;
    }
    return done();
}

void FleetWatch::take(const QByteArray &topic, const QByteArray &payload, bool retained)
{
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
    changed();
}

bool FleetWatch::waitSubscribed(int ms)
{
    return waitUntil([this] { return subscribed_; }, ms);
}

void FleetWatch::waitQuiet(int quietMs, int maxMs)
{
    const qint64 start = nowMs();
    const qint64 end = start + maxMs;
    for (;;) {
        const qint64 now = nowMs();
        const qint64 last = qMax(lastRetainedMs_, start);
        if (now >= end || now - last >= quietMs)
            return;
        const qint64 seen = lastRetainedMs_;
        waitUntil([this, seen] { return lastRetainedMs_ != seen; }, qMin(last + quietMs, end) - now);
    }
}

void FleetWatch::waitChange(int ms)
{
    const quint64 seen = messages_;
    waitUntil([this, seen] { return messages_ != seen; }, ms);
}

void FleetWatch::pause(int ms)
{
    waitUntil([] { return false; }, ms);
}

FleetState FleetWatch::state() const
{
    return state_;
}

LinkState FleetWatch::link(QString *why) const
{
    if (why)
        *why = why_;
    return link_;
}
