#pragma once

#include "telemetry/mqttclient.h"
#include "telemetry/outbox.h"

#include <QTest>

// What a test queued in an outbox, published to the broker at url as fast as it takes them;
// false when not all were acknowledged within 30 s. For tests that link the telemetry.
inline bool sendOutbox(const QString &url, Outbox &out, const QByteArray &clientId)
{
    MqttClient::Options o;
    QString why;
    BrokerUrl::parse(url, &o.url, &why);
    o.clientId = clientId;
    MqttClient client(o, {}, &out);
    client.start();
    const bool sent = QTest::qWaitFor([&] { return out.waiting() == 0 && out.inFlight() == 0; }, 30000);
    client.stop();
    return sent;
}
