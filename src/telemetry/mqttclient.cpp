#include "mqttclient.h"

#include "mosquittolibrary.h"
#include "outbox.h"

#include <vector>

namespace {

const char kOnline[] = "online";
const char kOffline[] = "offline";
// Writes tried for the goodbye; what does not go out at once is covered by the last will.
const int kGoodbyeWrites = 10;

} // namespace

MqttClient::MqttClient(Options options, Hooks hooks, Outbox *outbox)
    : options_(std::move(options)), hooks_(std::move(hooks)), outbox_(outbox)
{
    misc_.setInterval(kLoopMs);
    QObject::connect(&misc_, &QTimer::timeout, &misc_, [this] { tick(); });
    retry_.setSingleShot(true);
    QObject::connect(&retry_, &QTimer::timeout, &retry_, [this] { attempt(); });
    send_.setSingleShot(true);
    QObject::connect(&send_, &QTimer::timeout, &send_, [this] {
        if (reader_ && accepted_)
            checked(MOSQ_ERR_SUCCESS);
    });
    if (outbox_)
        outbox_->setPushed([this] { send_.start(0); });
}

MqttClient::~MqttClient()
{
    stop();
    if (outbox_)
        outbox_->setPushed(nullptr);
}

QString MqttClient::errorText(int rc) const
{
    return QString::fromUtf8(lib_->strerror(rc));
}

void MqttClient::setLink(LinkState state, const QString &why)
{
    if (link_ == state && why_ == why)
        return;
    link_ = state;
    why_ = why;
    if (hooks_.link)
        hooks_.link(state, why);
}

bool MqttClient::configure(QString *why)
{
    lib_->connectCallbackSet(m_, &MqttClient::onConnect);
    lib_->publishCallbackSet(m_, &MqttClient::onPublish);
    lib_->subscribeCallbackSet(m_, &MqttClient::onSubscribe);
    lib_->messageCallbackSet(m_, &MqttClient::onMessage);
    lib_->intOption(m_, MOSQ_OPT_TCP_NODELAY, 1);
    int rc = MOSQ_ERR_SUCCESS;
    if (!options_.username.isEmpty())
        rc = lib_->usernamePwSet(m_, options_.username.constData(),
                                 options_.password.isEmpty() ? nullptr : options_.password.constData());
    if (rc == MOSQ_ERR_SUCCESS && !options_.statusTopic.isEmpty())
        rc = lib_->willSet(m_, options_.statusTopic.constData(), int(sizeof kOffline - 1), kOffline, 1, true);
    if (rc == MOSQ_ERR_SUCCESS && options_.url.tls) {
        const QByteArray cafile = options_.cafile.toLocal8Bit();
        rc = cafile.isEmpty() ? lib_->tlsSet(m_, nullptr, "/etc/ssl/certs", nullptr, nullptr, nullptr)
                              : lib_->tlsSet(m_, cafile.constData(), nullptr, nullptr, nullptr, nullptr);
    }
    if (rc != MOSQ_ERR_SUCCESS)
        *why = errorText(rc);
    return rc == MOSQ_ERR_SUCCESS;
}

void MqttClient::start()
{
    if (started_ || stopped_)
        return;
    started_ = true;
    QString why;
    lib_ = MosquittoLibrary::get(&why);
    if (!lib_) {
        setLink(LinkState::Refused, why);
        return;
    }
    const QByteArray id = options_.clientId;
    m_ = lib_->create(id.isEmpty() ? nullptr : id.constData(), true, this);
    if (!m_ || !configure(&why)) {
        setLink(LinkState::Refused, m_ ? why : QStringLiteral("cannot make an MQTT client"));
        if (m_)
            lib_->destroy(m_);
        m_ = nullptr;
        return;
    }
    attempt();
}

void MqttClient::attempt()
{
    retired_.clear();
    accepted_ = false;
    refusal_.clear();
    since_.start();
    // Neither call waits for the broker: the socket connects in the background and the rest of
    // the handshake is read and written as the notifiers say. Resolving a host name is the one
    // step that may wait (getaddrinfo); an IP address, as on the panels, does not.
    const QByteArray host = options_.url.host.toUtf8();
    const int rc = attempted_ ? lib_->reconnectAsync(m_)
                              : lib_->connectAsync(m_, host.constData(), options_.url.port, options_.keepaliveS);
    attempted_ = true;
    if (rc != MOSQ_ERR_SUCCESS || lib_->socket(m_) < 0) {
        retry(errorText(rc == MOSQ_ERR_SUCCESS ? MOSQ_ERR_NO_CONN : rc));
        return;
    }
    watchSocket();
    misc_.start();
}

void MqttClient::retry(const QString &why)
{
    unwatchSocket();
    misc_.stop();
    lib_->disconnect(m_);
    if (accepted_)
        backoff_.reset();
    const int wait = backoff_.next();
    setLink(refusal_.isEmpty() ? LinkState::Connecting : LinkState::Refused,
            QStringLiteral("%1, next try in %2 s").arg(refusal_.isEmpty() ? why : refusal_).arg(wait / 1000));
    retry_.start(wait);
}

void MqttClient::watchSocket()
{
    const int fd = lib_->socket(m_);
    reader_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(reader_.get(), &QSocketNotifier::activated, reader_.get(), [this] { checked(lib_->loopRead(m_, 1)); });
    writer_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    QObject::connect(writer_.get(), &QSocketNotifier::activated, writer_.get(), [this] { checked(lib_->loopWrite(m_, 1)); });
    writer_->setEnabled(lib_->wantWrite(m_));
}

void MqttClient::unwatchSocket()
{
    // The notifier may be the one whose signal is being handled: it is kept, disabled, until the
    // next attempt or stop().
    for (std::unique_ptr<QSocketNotifier> *n : {&reader_, &writer_}) {
        if (*n) {
            (*n)->setEnabled(false);
            retired_.push_back(std::move(*n));
        }
    }
}

bool MqttClient::checked(int rc)
{
    if (rc != MOSQ_ERR_SUCCESS || lib_->socket(m_) < 0) {
        const QString why = rc == MOSQ_ERR_TLS ? QStringLiteral("TLS handshake failed")
                                               : errorText(rc == MOSQ_ERR_SUCCESS ? MOSQ_ERR_CONN_LOST : rc);
        if (rc == MOSQ_ERR_TLS)
            refusal_ = why;
        retry(why);
        return false;
    }
    if (accepted_)
        pump();
    if (writer_)
        writer_->setEnabled(lib_->wantWrite(m_));
    return true;
}

void MqttClient::tick()
{
    if (!accepted_ && since_.elapsed() > options_.connectTimeoutMs) {
        retry(QStringLiteral("no answer from the broker"));
        return;
    }
    checked(lib_->loopMisc(m_));
}

void MqttClient::pump()
{
    if (!outbox_)
        return;
    Outbox::Message message;
    while (outbox_->take(&message, kWindow)) {
        int mid = 0;
        const int rc = lib_->publish(m_, &mid, message.topic.constData(), int(message.payload.size()),
                                     message.payload.constData(), 1, message.retain);
        if (rc == MOSQ_ERR_SUCCESS) {
            inFlight_[mid] = message.id;
        } else if (rc == MOSQ_ERR_NO_CONN) {
            outbox_->putBack(std::move(message));
            return;
        } else {
            outbox_->lost(message.id);
        }
    }
}

void MqttClient::stop()
{
    if (stopped_)
        return;
    stopped_ = true;
    retry_.stop();
    misc_.stop();
    unwatchSocket();
    retired_.clear();
    if (!m_)
        return;
    if (accepted_ && lib_->socket(m_) >= 0) {
        if (!options_.statusTopic.isEmpty())
            lib_->publish(m_, nullptr, options_.statusTopic.constData(), int(sizeof kOffline - 1), kOffline, 1, true);
        lib_->disconnect(m_);
        for (int i = 0; i < kGoodbyeWrites && lib_->socket(m_) >= 0 && lib_->wantWrite(m_); ++i)
            lib_->loopWrite(m_, 1);
    }
    lib_->destroy(m_);
    m_ = nullptr;
}

void MqttClient::onConnect(mosquitto *m, void *self, int rc)
{
    auto *c = static_cast<MqttClient *>(self);
    if (rc != 0) {
        c->refusal_ = QStringLiteral("the broker refused the connection: %1").arg(QString::fromUtf8(c->lib_->connackString(rc)));
        return;
    }
    c->accepted_ = true;
    if (!c->options_.statusTopic.isEmpty())
        c->lib_->publish(m, nullptr, c->options_.statusTopic.constData(), int(sizeof kOnline - 1), kOnline, 1, true);
    c->subscribing_ = 0;
    for (const auto &[list, qos] : {std::pair(&c->options_.subscriptions, 1), std::pair(&c->options_.latestSubscriptions, 0)}) {
        std::vector<char *> topics;
        for (const QByteArray &topic : *list)
            topics.push_back(const_cast<char *>(topic.constData()));
        if (!topics.empty() && c->lib_->subscribeMultiple(m, nullptr, int(topics.size()), topics.data(), qos, 0, nullptr) == 0)
            ++c->subscribing_;
    }
    c->setLink(LinkState::Online, QStringLiteral("connected to %1").arg(c->options_.url.text()));
}

void MqttClient::onPublish(mosquitto *, void *self, int mid)
{
    auto *c = static_cast<MqttClient *>(self);
    const auto it = c->inFlight_.find(mid);
    if (it == c->inFlight_.end())
        return;
    const quint64 id = it->second;
    c->inFlight_.erase(it);
    if (c->outbox_)
        c->outbox_->delivered(id);
}

void MqttClient::onSubscribe(mosquitto *, void *self, int, int, const int *)
{
    auto *c = static_cast<MqttClient *>(self);
    if (--c->subscribing_ <= 0 && c->hooks_.subscribed)
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
