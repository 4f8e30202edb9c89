#pragma once

#include "dashboard/alertengine.h"

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// Mails alerts through the SMTP server of the alerts file, by libcurl on a thread of its own
// (a slow or silent server never holds the event loop): smtp:// only with STARTTLS (a server
// that does not offer it gets no mail at all), smtps:// with TLS from the start; the server's
// certificate checked against the system's CAs or smtp.cafile. A mail is tried kTries times,
// 1 s then 2 s apart; at most kMaxWaiting wait. Every outcome goes to the engine's log (on the
// event loop) and standard error.
class MailSender : public QObject
{
    Q_OBJECT

public:
    static constexpr int kTries = 3;
    static constexpr int kMaxWaiting = 100;
    static constexpr int kTimeoutS = 30;

    explicit MailSender(AlertEngine *engine, QObject *parent = nullptr);
    ~MailSender() override;
    void send(const AlertRules::Smtp &smtp, const AlertRules::Rule &rule, const AlertEngine::Event &e);
    // The message as sent (headers and body, CRLF line ends).
    static QByteArray message(const AlertRules::Smtp &smtp, const AlertRules::Rule &rule, const AlertEngine::Event &e);

private:
    struct Mail
    {
        AlertRules::Smtp smtp;
        AlertRules::Rule rule;
        AlertEngine::Event event;
    };
    void run();
    // One try; the failure's words, empty when sent.
    QString deliver(const Mail &m);

    AlertEngine *const engine_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Mail> mails_;
    bool stopping_ = false;
    std::atomic<bool> abort_{false}; // a send under way gives up
    std::thread worker_;
};
