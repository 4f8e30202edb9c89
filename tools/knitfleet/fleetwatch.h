#pragma once

#include "telemetry/fleetstate.h"
#include "telemetry/linkstate.h"
#include "telemetry/mqttclient.h"

#include <QEventLoop>

#include <cstdio>
#include <functional>
#include <memory>

// knitfleet's subscription: knit/+/state and knit/+/status merged into a FleetState as they
// arrive. The MQTT client runs on this thread's event loop: it runs while one of the waits does.
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
    // Returns after ms, taking what arrives meanwhile.
    void pause(int ms);

    FleetState state() const;
    LinkState link(QString *why) const;
    static qint64 nowMs();

private:
    void take(const QByteArray &topic, const QByteArray &payload, bool retained);
    // Runs the event loop until done() or ms passed; done()'s last answer.
    bool waitUntil(const std::function<bool()> &done, qint64 ms);
    void changed();

    QEventLoop *waiting_ = nullptr;
    FleetState state_;
    bool subscribed_ = false;
    quint64 messages_ = 0;
    qint64 lastRetainedMs_ = 0;
    LinkState link_ = LinkState::Connecting;
    QString why_;
    std::FILE *events_ = nullptr;
    std::unique_ptr<MqttClient> client_;
};
