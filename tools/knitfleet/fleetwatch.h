#pragma once

#include "telemetry/fleetstate.h"
#include "telemetry/linkstate.h"
#include "telemetry/mqttclient.h"

#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>

// knitfleet's subscription: knit/+/state and knit/+/status merged into a FleetState as they
// arrive on the MQTT client's thread, read by the main thread under one lock.
class FleetWatch
{
public:
    explicit FleetWatch(const MqttClient::Options &options);
    ~FleetWatch();

    // Every message as it arrives, one JSON line each: {"received_ms", and the machine's entry}.
    void setEventStream(std::FILE *stream) { events_ = stream; }
    void start();

    // False when the subscription was not acknowledged within ms.
    bool waitSubscribed(int ms);
    // Returns once no retained message came for quietMs (counted from the call), or after maxMs:
    // the broker sends what it retains right after the subscription, live messages go on.
    void waitQuiet(int quietMs, int maxMs);
    // Returns after ms, or earlier when a message came.
    void waitChange(int ms);

    FleetState state() const;
    LinkState link(QString *why) const;
    static qint64 nowMs();

private:
    void take(const QByteArray &topic, const QByteArray &payload, bool retained);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    FleetState state_;
    bool subscribed_ = false;
    quint64 messages_ = 0;
    qint64 lastRetainedMs_ = 0;
    LinkState link_ = LinkState::Connecting;
    QString why_;
    std::FILE *events_ = nullptr;
    std::unique_ptr<MqttClient> client_;
};
