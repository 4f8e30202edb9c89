#include "mqttclient.h"

#include "backoff.h"
#include "mosquittolibrary.h"
#include "outbox.h"

#include <QElapsedTimer>

#include <pthread.h>
#include <vector>

namespace {

const char kOnline[] = "online";
const char kOffline[] = "offline";
const int kGoodbyeLoops = 10;

} // namespace

MqttClient::MqttClient(Options options, Hooks hooks, Outbox *outbox)
    : options_(std::move(options)), hooks_(std::move(hooks)), outbox_(outbox)
{
}

MqttClient::~MqttClient()
{
    stop();
}

void MqttClient::start()
{
    if (!thread_.joinable())
        thread_ = std::thread(&MqttClient::run, this);
}

void MqttClient::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

bool MqttClient::waitMs(int ms)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return !wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_.load(); });
}

QString MqttClient::errorText(int rc) const
{
    return QString::fromUtf8(lib_->strerror(rc));
}

void MqttClient::setLink(LinkState state, const QString &why)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (link_.load() == state && why_ == why)
            return;
        link_ = state;
        why_ = why;
    }
    if (hooks_.link)
        hooks_.link(state, why);
}

bool MqttClient::configure(mosquitto *m, QString *why)
{
    lib_->connectCallbackSet(m, &MqttClient::onConnect);
    lib_->disconnectCallbackSet(m, &MqttClient::onDisconnect);
    lib_->publishCallbackSet(m, &MqttClient::onPublish);
    lib_->subscribeCallbackSet(m, &MqttClient::onSubscribe);
    lib_->messageCallbackSet(m, &MqttClient::onMessage);
    lib_->intOption(m, MOSQ_OPT_TCP_NODELAY, 1);
    int rc = MOSQ_ERR_SUCCESS;
    if (!options_.username.isEmpty())
        rc = lib_->usernamePwSet(m, options_.username.constData(),
                                 options_.password.isEmpty() ? nullptr : options_.password.constData());
    if (rc == MOSQ_ERR_SUCCESS && !options_.statusTopic.isEmpty())
        rc = lib_->willSet(m, options_.statusTopic.constData(), int(sizeof kOffline - 1), kOffline, 1, true);
    if (rc == MOSQ_ERR_SUCCESS && options_.url.tls) {
        const QByteArray cafile = options_.cafile.toLocal8Bit();
        rc = cafile.isEmpty() ? lib_->tlsSet(m, nullptr, "/etc/ssl/certs", nullptr, nullptr, nullptr)
                              : lib_->tlsSet(m, cafile.constData(), nullptr, nullptr, nullptr, nullptr);
    }
    if (rc != MOSQ_ERR_SUCCESS)
        *why = errorText(rc);
    return rc == MOSQ_ERR_SUCCESS;
}

void MqttClient::run()
{
    pthread_setname_np(pthread_self(), "mqtt");
    QString why;
    lib_ = MosquittoLibrary::get(&why);
    if (!lib_) {
        setLink(LinkState::Refused, why);
        return;
    }
    const QByteArray id = options_.clientId;
    mosquitto *m = lib_->create(id.isEmpty() ? nullptr : id.constData(), true, this);
    if (!m || !configure(m, &why)) {
        setLink(LinkState::Refused, m ? why : QStringLiteral("cannot make an MQTT client"));
        if (m)
            lib_->destroy(m);
        return;
    }
    Backoff backoff;
    for (bool first = true; !stopping_; first = false) {
        if (session(m, first, &why))
            backoff.reset();
        if (stopping_)
            break;
        const int wait = backoff.next();
        setLink(refusal_.isEmpty() ? LinkState::Connecting : LinkState::Refused,
                QStringLiteral("%1, next try in %2 s").arg(refusal_.isEmpty() ? why : refusal_).arg(wait / 1000));
        if (!waitMs(wait))
            break;
    }
    if (connected_)
        goodbye(m);
    lib_->destroy(m);
}

bool MqttClient::session(mosquitto *m, bool first, QString *why)
{
    connected_ = false;
    accepted_ = false;
    refusal_.clear();
    const QByteArray host = options_.url.host.toUtf8();
    int rc = first ? lib_->connectAsync(m, host.constData(), options_.url.port, options_.keepaliveS)
                   : lib_->reconnectAsync(m);
    if (rc != MOSQ_ERR_SUCCESS) {
        *why = errorText(rc);
        return false;
    }
    QElapsedTimer since;
    since.start();
    while (!stopping_) {
        if (connected_)
            pump(m);
        rc = lib_->loop(m, kLoopMs, 1);
        if (rc != MOSQ_ERR_SUCCESS) {
            *why = rc == MOSQ_ERR_TLS ? QStringLiteral("TLS handshake failed") : errorText(rc);
            if (rc == MOSQ_ERR_TLS)
                refusal_ = *why;
            break;
        }
        if (!accepted_ && since.elapsed() > options_.connectTimeoutMs) {
            *why = QStringLiteral("no answer from the broker");
            break;
        }
    }
    if (!stopping_ || !connected_) {
        lib_->disconnect(m);
        connected_ = false;
    }
    return accepted_;
}

void MqttClient::pump(mosquitto *m)
{
    if (!outbox_)
        return;
    Outbox::Message message;
    while (outbox_->take(&message, kWindow)) {
        int mid = 0;
        const int rc = lib_->publish(m, &mid, message.topic.constData(), int(message.payload.size()),
                                         message.payload.constData(), 1, message.retain);
        if (rc == MOSQ_ERR_SUCCESS) {
            inFlight_.insert(mid);
        } else if (rc == MOSQ_ERR_NO_CONN) {
            outbox_->putBack(std::move(message));
            return;
        } else {
            outbox_->lost();
        }
    }
}

void MqttClient::goodbye(mosquitto *m)
{
    if (!options_.statusTopic.isEmpty())
        lib_->publish(m, nullptr, options_.statusTopic.constData(), int(sizeof kOffline - 1), kOffline, 1, true);
    lib_->disconnect(m);
    for (int i = 0; i < kGoodbyeLoops && lib_->loop(m, kLoopMs, 1) == MOSQ_ERR_SUCCESS; ++i) {
    }
}

void MqttClient::onConnect(mosquitto *m, void *self, int rc)
{
    auto *c = static_cast<MqttClient *>(self);
    if (rc != 0) {
        c->refusal_ = QStringLiteral("the broker refused the connection: %1").arg(QString::fromUtf8(c->lib_->connackString(rc)));
        return;
    }
    c->connected_ = true;
    c->accepted_ = true;
    if (!c->options_.statusTopic.isEmpty())
        c->lib_->publish(m, nullptr, c->options_.statusTopic.constData(), int(sizeof kOnline - 1), kOnline, 1, true);
    if (!c->options_.subscriptions.isEmpty()) {
        std::vector<char *> topics;
        for (const QByteArray &topic : c->options_.subscriptions)
            topics.push_back(const_cast<char *>(topic.constData()));
        c->lib_->subscribeMultiple(m, nullptr, int(topics.size()), topics.data(), 1, 0, nullptr);
    }
    c->setLink(LinkState::Online, QStringLiteral("connected to %1").arg(c->options_.url.text()));
}

void MqttClient::onDisconnect(mosquitto *, void *self, int)
{
    static_cast<MqttClient *>(self)->connected_ = false;
}

void MqttClient::onPublish(mosquitto *, void *self, int mid)
{
    auto *c = static_cast<MqttClient *>(self);
    if (c->inFlight_.erase(mid) && c->outbox_)
        c->outbox_->delivered();
}

void MqttClient::onSubscribe(mosquitto *, void *self, int, int, const int *)
{
    auto *c = static_cast<MqttClient *>(self);
    if (c->hooks_.subscribed)
        c->hooks_.subscribed();
}

void MqttClient::onMessage(mosquitto *, void *self, const mosquitto_message *message)
{
    auto *c = static_cast<MqttClient *>(self);
    if (!c->hooks_.message || !message->topic || message->payloadlen < 0 || message->payloadlen > c->options_.maxPayload)
        return;
    const QByteArray topic(message->topic);
    const QByteArray payload(static_cast<const char *>(message->payload), message->payloadlen);
    c->hooks_.message(topic, payload, message->retain);
}
