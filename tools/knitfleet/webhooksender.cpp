#include "webhooksender.h"

#include "dashboard/isotime.h"

#include "telemetry/backoff.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageAuthenticationCode>
#include <QNetworkReply>
#include <QTimer>

#include <cstdio>

WebhookSender::WebhookSender(AlertEngine *engine, QObject *parent)
    : QObject(parent)
    , engine_(engine)
{
}

QByteArray WebhookSender::body(const AlertRules::Rule &rule, const AlertEngine::Event &e)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("event"), e.fired ? QStringLiteral("fired") : QStringLiteral("ended")},
                                     {QStringLiteral("rule"), rule.name},
                                     {QStringLiteral("machine"), e.machine},
                                     {QStringLiteral("since"), IsoTime::text(e.sinceMs)},
                                     {QStringLiteral("time"), IsoTime::text(e.timeMs)},
                                     {QStringLiteral("text"), e.text}})
        .toJson(QJsonDocument::Compact);
}

QByteArray WebhookSender::signature(const QByteArray &body, const QByteArray &secret)
{
    return "sha256=" + QMessageAuthenticationCode::hash(body, secret, QCryptographicHash::Sha256).toHex();
}

void WebhookSender::send(const AlertRules::Rule &rule, const AlertEngine::Event &e)
{
    const QString key = rule.name + QLatin1Char('\n') + e.machine;
    Line &line = lines_[key];
    if (line.posts.size() >= std::size_t(kMaxWaiting)) {
        // The oldest waiting one (never the outstanding one) gives way.
        const Post &old = line.posts[1];
        engine_->logged(old.rule, old.event, QStringLiteral("webhook"), QStringLiteral("dropped: too many waiting"),
                        QDateTime::currentMSecsSinceEpoch());
        line.posts.erase(line.posts.begin() + 1);
    }
    line.posts.push_back({rule, e, 0});
    if (!line.busy)
        next(key);
}

void WebhookSender::next(const QString &key)
{
    Line &line = lines_[key];
    if (line.posts.empty()) {
        lines_.remove(key);
        return;
    }
    line.busy = true;
    const Post &p = line.posts.front();
    const QByteArray bytes = body(p.rule, p.event);
    QNetworkRequest request{QUrl(p.rule.webhook)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    request.setTransferTimeout(kTimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    if (!p.rule.secret.isEmpty())
        request.setRawHeader("X-Knit-Signature", signature(bytes, p.rule.secret));
    QNetworkReply *reply = net_.post(request, bytes);
    connect(reply, &QNetworkReply::finished, this, [this, reply, key] {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        // What the receiver answers is not read: only its status counts.
        done(key, reply->error() == QNetworkReply::NoError && status >= 200 && status < 300
                      ? QString()
                      : status > 0 ? QStringLiteral("HTTP %1").arg(status) : reply->errorString());
    });
}

void WebhookSender::done(const QString &key, const QString &failure)
{
    Line &line = lines_[key];
    Post &p = line.posts.front();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (failure.isEmpty()) {
        engine_->logged(p.rule, p.event, QStringLiteral("webhook"), QStringLiteral("sent"), now);
        line.posts.pop_front();
        next(key);
        return;
    }
    p.waitMs = p.waitMs == 0 ? Backoff::kFirstMs : qMin(p.waitMs * 2, Backoff::kMaxMs);
    const QString outcome = QStringLiteral("retrying in %1 s: %2").arg(p.waitMs / 1000).arg(failure.left(200));
    engine_->logged(p.rule, p.event, QStringLiteral("webhook"), outcome, now);
    std::fprintf(stderr, "knitfleet: alert %s for %s: webhook %s\n", qPrintable(p.rule.name), qPrintable(p.event.machine),
                 qPrintable(outcome));
    QTimer::singleShot(p.waitMs, this, [this, key] { next(key); });
}
