#pragma once

#include "backoff.h"
#include "brokerurl.h"
#include "linkstate.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <map>
#include <vector>

struct mosquitto;
struct mosquitto_message;
class Outbox;
struct MosquittoLibrary;

// One connection to an MQTT broker, driven by the event loop of the thread that owns it:
// connects, and after a failure or a lost link tries again after 1 s, doubling to 60 s; keeps a
// retained status ("online" when connected, "offline" as its last will and when stopped),
// subscribes, sends what waits in its Outbox (QoS 1, at most kWindow unacknowledged) and hands
// what arrives to a hook. libmosquitto only reads and writes its socket when told to, so no call
// waits on the broker; its own loop_start() thread is not used: it backs off quadratically, never
// retries when the first attempt fails and ends for good on a failed TLS handshake. Hooks run on
// the owner's thread, from within the client: they must not destroy it.
class MqttClient
{
public:
    static constexpr int kWindow = 20;
    // How often keepalive and the connect time-out are looked at; the Outbox is as it fills.
    static constexpr int kLoopMs = 1000;

    struct Options
    {
        BrokerUrl url;
        QByteArray clientId;
        QByteArray username;
        QByteArray password;
        QString cafile;              // mqtts: the CA to trust; empty: the system's
        QByteArray statusTopic;      // empty: no status, no last will
        QList<QByteArray> subscriptions; // QoS 1
        // QoS 0, for retained topics whose latest the broker gives again on a new connection: no
        // acknowledgement each, so thousands a second are not held to the broker's window of
        // messages in flight.
        QList<QByteArray> latestSubscriptions;
        int keepaliveS = 10;         // a dead link shows as offline after 1.5 times this
        int connectTimeoutMs = 10000;
        int maxPayload = 64 * 1024;  // longer messages are not handed on
    };
    struct Hooks
    {
        std::function<void(LinkState state, const QString &why)> link; // on every change
        std::function<void()> subscribed; // every subscription acknowledged
        // retained: sent because it was retained, not as it was published
        std::function<void(const QByteArray &topic, const QByteArray &payload, bool retained)> message;
    };

    MqttClient(Options options, Hooks hooks, Outbox *outbox = nullptr);
    ~MqttClient();
    MqttClient(const MqttClient &) = delete;
    MqttClient &operator=(const MqttClient &) = delete;

    void start();
    // Publishes "offline" when connected and disconnects; nothing happens after it.
    void stop();
    LinkState link() const { return link_; }

private:
    bool configure(QString *why);
    void attempt();
    // The connection ended (why) or could not start: the next attempt after the back-off.
    void retry(const QString &why);
    void watchSocket();
    void unwatchSocket();
    // After each call into libmosquitto's loop: false (and the session over) on an error.
    bool checked(int rc);
    void tick();
    void pump();
    void setLink(LinkState state, const QString &why);
    QString errorText(int rc) const;

    static void onConnect(mosquitto *m, void *self, int rc);
    static void onPublish(mosquitto *m, void *self, int mid);
    static void onSubscribe(mosquitto *m, void *self, int mid, int count, const int *granted);
    static void onMessage(mosquitto *m, void *self, const mosquitto_message *message);

    const Options options_;
    const Hooks hooks_;
    Outbox *const outbox_;
    const MosquittoLibrary *lib_ = nullptr;
    mosquitto *m_ = nullptr;
    std::unique_ptr<QSocketNotifier> reader_;
    std::unique_ptr<QSocketNotifier> writer_;
    std::vector<std::unique_ptr<QSocketNotifier>> retired_;
    QTimer misc_;
    QTimer retry_;
    QTimer send_; // the Outbox's new messages, sent together once the caller is done
    QElapsedTimer since_; // the current attempt's start
    Backoff backoff_;
    bool started_ = false;
    bool stopped_ = false;
    bool attempted_ = false; // connect once, reconnect after
    bool accepted_ = false;
    int subscribing_ = 0; // subscriptions not yet acknowledged
    QString refusal_;
    LinkState link_ = LinkState::Connecting;
    QString why_;
    std::map<int, quint64> inFlight_; // message id of libmosquitto: the Outbox's
};
