#pragma once

#include "alertrules.h"

#include <QHash>
#include <QJsonArray>

#include <deque>
#include <functional>

class Recorder;

// Turns the floor into alerts: once a rule's condition has held after_s for a machine it fires
// (unless the rule fired for that machine within cooldown_s), and once the condition clears, a
// fired alert ends. What is sent, and how each send went, is kept (the newest kMaxLog) for
// /alerts. Sending is the caller's (webhooks, e-mail), reported back through logged().
class AlertEngine
{
public:
    static constexpr int kMaxLog = 1000;

    struct Event
    {
        int rule = 0; // index into the rules
        QString machine;
        bool fired = true; // else ended
        qint64 sinceMs = 0;
        qint64 timeMs = 0;
        QString text;
    };
    using Send = std::function<void(const AlertRules::Rule &, const Event &)>;

    void setRules(const AlertRules &rules);
    const AlertRules &rules() const { return rules_; }
    void setSend(Send send) { send_ = std::move(send); }
    // Looks at every machine now.
    void check(const Recorder &recorder, qint64 nowMs);
    // A send's outcome for the log ("sent", "retrying in 4 s: ...", "failed: ...").
    void logged(const AlertRules::Rule &rule, const Event &e, const QString &channel, const QString &outcome, qint64 nowMs);
    // The log, newest first.
    QJsonArray log() const;

private:
    struct Watch
    {
        qint64 since = -1; // the condition holds since, -1 not
        bool fired = false;
        qint64 firedMs = -1;
        QString text;
    };
    // Whether the rule's condition holds for the machine, since when, and what to say.
    bool holds(const AlertRules::Rule &rule, const Recorder &recorder, const QString &machine, qint64 nowMs, qint64 *since,
               QString *text) const;

    AlertRules rules_;
    Send send_;
    QHash<QString, Watch> watches_; // "rule\nmachine"
    std::deque<QJsonObject> log_;
};
