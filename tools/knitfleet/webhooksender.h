#pragma once

#include "dashboard/alertengine.h"

#include <QHash>
#include <QNetworkAccessManager>
#include <QObject>

#include <deque>

// Posts alerts to their rules' webhooks: {"event","machine","rule","since","text","time"} as
// JSON, signed with X-Knit-Signature: sha256=HEX (HMAC-SHA256 of the body with the rule's
// secret). A receiver that is down, fails (not 2xx) or is silent for kTimeoutMs is tried again
// after 1 s, doubling to 60 s; one post is outstanding per rule and machine, the others wait
// behind it (at most kMaxWaiting, the oldest dropped and logged), so "ended" never overtakes
// "fired". Every outcome goes to the engine's log and standard error.
class WebhookSender : public QObject
{
    Q_OBJECT

public:
    static constexpr int kTimeoutMs = 10000;
    static constexpr int kMaxWaiting = 8;

    explicit WebhookSender(AlertEngine *engine, QObject *parent = nullptr);
    void send(const AlertRules::Rule &rule, const AlertEngine::Event &e);
    static QByteArray body(const AlertRules::Rule &rule, const AlertEngine::Event &e);
    static QByteArray signature(const QByteArray &body, const QByteArray &secret);

private:
    struct Post
    {
        AlertRules::Rule rule;
        AlertEngine::Event event;
        int waitMs = 0; // before the next try
    };
    struct Line
    {
        std::deque<Post> posts; // the first is outstanding
        bool busy = false;
    };
    void next(const QString &key);
    void done(const QString &key, const QString &failure);

    AlertEngine *const engine_;
    QNetworkAccessManager net_;
    QHash<QString, Line> lines_;
};
