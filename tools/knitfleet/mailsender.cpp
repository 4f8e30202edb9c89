#include "mailsender.h"

#include "dashboard/isotime.h"

#include <QDateTime>
#include <QLocale>
#include <QPointer>

#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

struct Reading
{
    QByteArray bytes;
    qsizetype at = 0;
};

size_t readBody(char *to, size_t size, size_t count, void *from)
{
    auto *r = static_cast<Reading *>(from);
    const size_t n = std::min<size_t>(size * count, size_t(r->bytes.size() - r->at));
    std::memcpy(to, r->bytes.constData() + r->at, n);
    r->at += qsizetype(n);
    return n;
}

QByteArray header(const QString &text)
{
    // RFC 2047: any text as UTF-8 in base64.
    return "=?UTF-8?B?" + text.toUtf8().toBase64() + "?=";
}

} // namespace

MailSender::MailSender(AlertEngine *engine, QObject *parent)
    : QObject(parent)
    , engine_(engine)
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    worker_ = std::thread([this] { run(); });
}

MailSender::~MailSender()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    abort_ = true;
    wake_.notify_all();
    worker_.join();
}

QByteArray MailSender::message(const AlertRules::Smtp &smtp, const AlertRules::Rule &rule, const AlertEngine::Event &e)
{
    const QString what = e.fired ? QStringLiteral("fired") : QStringLiteral("ended");
    const QString subject = QStringLiteral("knitfleet: %1 %2 on %3").arg(rule.name, what, e.machine);
    const QString body = QStringLiteral("Rule: %1 (%2)\r\nMachine: %3\r\nEvent: %4\r\nSince: %5\r\nTime: %6\r\n%7\r\n")
                             .arg(rule.name, QLatin1String(AlertRules::whenName(rule.when)), e.machine, what,
                                  IsoTime::text(e.sinceMs), IsoTime::text(e.timeMs), e.text);
    const QString date
        = QLocale::c().toString(QDateTime::fromMSecsSinceEpoch(e.timeMs).toUTC(), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss"));
    return "From: <" + smtp.from.toUtf8() + ">\r\nTo: " + ("<" + rule.email.join(QStringLiteral(">, <")) + ">").toUtf8()
           + "\r\nSubject: " + header(subject) + "\r\nDate: " + date.toLatin1() + " +0000\r\nMIME-Version: 1.0\r\n"
           + "Content-Type: text/plain; charset=utf-8\r\nContent-Transfer-Encoding: base64\r\n\r\n" + body.toUtf8().toBase64()
           + "\r\n";
}

void MailSender::send(const AlertRules::Smtp &smtp, const AlertRules::Rule &rule, const AlertEngine::Event &e)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (mails_.size() >= std::size_t(kMaxWaiting)) {
        lock.unlock();
        engine_->logged(rule, e, QStringLiteral("email"), QStringLiteral("dropped: too many waiting"),
                        QDateTime::currentMSecsSinceEpoch());
        return;
    }
    mails_.push_back({smtp, rule, e});
    wake_.notify_one();
}

QString MailSender::deliver(const Mail &m)
{
    CURL *curl = curl_easy_init();
    if (!curl)
        return QStringLiteral("no curl handle");
    Reading reading{message(m.smtp, m.rule, m.event), 0};
    curl_slist *to = nullptr;
    for (const QString &a : m.rule.email)
        to = curl_slist_append(to, ("<" + a + ">").toUtf8().constData());
    const QByteArray url = m.smtp.url.toUtf8();
    const QByteArray from = "<" + m.smtp.from.toUtf8() + ">";
    const QByteArray user = m.smtp.username.toUtf8();
    const QByteArray ca = m.smtp.cafile.toLocal8Bit();
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    // No mail in clear: STARTTLS or the connection ends before a word of it.
    curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, to);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readBody);
    curl_easy_setopt(curl, CURLOPT_READDATA, &reading);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 10L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, long(kTimeoutS));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    // knitfleet ending does not wait for a silent server.
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &abort_);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, +[](void *abort, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        return static_cast<std::atomic<bool> *>(abort)->load() ? 1 : 0;
    });
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    if (!user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, m.smtp.password.constData());
    }
    if (!ca.isEmpty())
        curl_easy_setopt(curl, CURLOPT_CAINFO, ca.constData());
    const CURLcode result = curl_easy_perform(curl);
    curl_slist_free_all(to);
    curl_easy_cleanup(curl);
    return result == CURLE_OK ? QString() : QString::fromUtf8(curl_easy_strerror(result));
}

void MailSender::run()
{
    for (;;) {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [this] { return stopping_ || !mails_.empty(); });
        if (stopping_)
            return;
        const Mail m = mails_.front();
        mails_.pop_front();
        lock.unlock();
        QString failure;
        for (int i = 0; i < kTries; ++i) {
            if (i > 0)
                std::this_thread::sleep_for(std::chrono::seconds(i));
            if ((failure = deliver(m)).isEmpty())
                break;
        }
        const QString outcome
            = failure.isEmpty() ? QStringLiteral("sent") : QStringLiteral("failed after %1 tries: %2").arg(kTries).arg(failure);
        if (!failure.isEmpty())
            std::fprintf(stderr, "knitfleet: alert %s for %s: e-mail %s\n", qPrintable(m.rule.name), qPrintable(m.event.machine),
                         qPrintable(outcome));
        QMetaObject::invokeMethod(this, [this, m, outcome] {
            engine_->logged(m.rule, m.event, QStringLiteral("email"), outcome, QDateTime::currentMSecsSinceEpoch());
        }, Qt::QueuedConnection);
    }
}
