#pragma once

#include "brokerurl.h"
#include "linkstate.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <thread>

struct mosquitto;
struct mosquitto_message;
class Outbox;
struct MosquittoLibrary;

// One connection to an MQTT broker on a thread of its own that runs libmosquitto's network loop:
// connects, and after a failure or a lost link tries again after 1 s, doubling to 60 s; keeps a
// retained status ("online" when connected, "offline" as its last will and when stopped),
// subscribes, sends what waits in its Outbox (QoS 1, at most kWindow unacknowledged) and hands
// what arrives to a hook. libmosquitto's own loop_start() thread is not used: it backs off
// quadratically and never retries when the first attempt fails. Hooks run on the network thread.
class MqttClient
{
public:
    static constexpr int kWindow = 20;
    static constexpr int kLoopMs = 100;

    struct Options
    {
        BrokerUrl url;
        QByteArray clientId;
        QByteArray username;
        QByteArray password;
        QString cafile;              // mqtts: the CA to trust; empty: the system's
        QByteArray statusTopic;      // empty: no status, no last will
        QList<QByteArray> subscriptions;
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
    // Publishes "offline" when connected, disconnects and ends the thread.
    void stop();
    LinkState link() const { return link_.load(); }

private:
    void run();
    // One connection from attempt to loss; true when the broker accepted it.
    bool session(mosquitto *m, bool first, QString *why);
    void pump(mosquitto *m);
    void goodbye(mosquitto *m);
    bool configure(mosquitto *m, QString *why);
    // False when stop() came first.
    bool waitMs(int ms);
    void setLink(LinkState state, const QString &why);
    QString errorText(int rc) const;

    static void onConnect(mosquitto *m, void *self, int rc);
    static void onDisconnect(mosquitto *m, void *self, int rc);
    static void onPublish(mosquitto *m, void *self, int mid);
    static void onSubscribe(mosquitto *m, void *self, int mid, int count, const int *granted);
    static void onMessage(mosquitto *m, void *self, const mosquitto_message *message);

    const Options options_;
    const Hooks hooks_;
    Outbox *const outbox_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<bool> stopping_{false};
    std::atomic<LinkState> link_{LinkState::Connecting};
    QString why_;
    // Network thread only.
    const MosquittoLibrary *lib_ = nullptr;
    bool connected_ = false;
    bool accepted_ = false;
    QString refusal_;
    std::set<int> inFlight_;
};
